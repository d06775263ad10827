#include "mainwindow/locking/ProgramClipboard.h"

#include <cstring>

namespace {

const char kExchangeHeader[] = "Zorvikan Zkv File -v3.0";
const char kExportHeader[] = "Zorvikan Export File";

bool Begins(const char* text, size_t size, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    return text && size >= length && std::strncmp(text, prefix, length) == 0;
}

}  // namespace

void CProgramClipboard::NoteCopied(uint32_t sequence)
{
    m_clean = false;
    m_sequence = sequence;
}

bool CProgramClipboard::ShouldClear(const char* text, size_t size, uint32_t sequence) const
{
    if (!text) return false;
    return IsOurCopy(sequence) || Begins(text, size, kExchangeHeader) || Begins(text, size, kExportHeader);
}

bool CProgramClipboard::IsProgramText(const char* text, size_t size, uint32_t sequence) const
{
    if (!text) return false;
    return IsOurCopy(sequence) || Begins(text, size, kExchangeHeader);
}
