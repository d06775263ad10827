#include "app/services/RecordClipboardText.h"

namespace {
// Set once by the program before its windows exist, or by a test.
IRecordClipboardText* g_recordClipboardText = nullptr;
}  // namespace

IRecordClipboardText* GetRecordClipboardText() { return g_recordClipboardText; }

IRecordClipboardText* SetRecordClipboardText(IRecordClipboardText* text)
{
    IRecordClipboardText* previous = g_recordClipboardText;
    g_recordClipboardText = text;
    return previous;
}
