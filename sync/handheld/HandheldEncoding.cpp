#include "sync/handheld/HandheldEncoding.h"

#include <cstring>

#include "core/values/DateValue.h"

namespace {
int UpperHexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}
}  // namespace

bool HexToBytes8(const char* text, uint8_t key[kUniqueKeySize])
{
    ClearUniqueKey(key);
    if (!text || std::strlen(text) != 2 * kUniqueKeySize) return false;
    for (int i = 0; i < kUniqueKeySize; ++i)
        key[i] = static_cast<uint8_t>(UpperHexDigit(text[2 * i]) << 4 | UpperHexDigit(text[2 * i + 1]));
    return true;
}

CString HandheldDateToDesktop(const CString& text)
{
    if (text.IsEmpty()) return CString();
    return CDateValue(text, CDateValue::kTimestamp).FormatLong();
}

CString DesktopDateToHandheld(const CString& text)
{
    if (text.IsEmpty()) return CString();
    return CDateValue(text, CDateValue::kLongDate).FormatTimestamp();
}
