#include "core/link/WebLoginRecord.h"

#include <cstring>

void WebLoginRecord::Terminate()
{
    title[kTitleSize - 1] = '\0';
    address[kAddressSize - 1] = '\0';
}

void ReadWebLoginRecord(const void* block, WebLoginRecord& record)
{
    std::memset(&record, 0, sizeof record);
    if (block) std::memcpy(&record, block, sizeof record);
    record.Terminate();
}
