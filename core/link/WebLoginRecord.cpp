#include "core/link/WebLoginRecord.h"

#include <cstring>

void WebLoginRecord::Terminate()
{
    title[kTitleSize - 1] = '\0';
    address[kAddressSize - 1] = '\0';
}

namespace {

void PutText(char* field, unsigned size, const char* text)
{
    if (!text) return;
    size_t length = std::strlen(text);
    if (length > size - 1) length = size - 1;
    std::memcpy(field, text, length);
}

}  // namespace

void WebLoginRecord::SetTexts(const char* pageTitle, const char* pageAddress)
{
    std::memset(this, 0, sizeof *this);
    PutText(title, kTitleSize, pageTitle);
    PutText(address, kAddressSize, pageAddress);
}

void ReadWebLoginRecord(const void* block, WebLoginRecord& record)
{
    std::memset(&record, 0, sizeof record);
    if (block) std::memcpy(&record, block, sizeof record);
    record.Terminate();
}
