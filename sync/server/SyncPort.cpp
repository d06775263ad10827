#include "sync/server/SyncPort.h"

#include <cstdlib>
#include <cstring>

int ParseSyncPort(const char* text)
{
    if (!text || !*text || std::strlen(text) > 5) return kSyncServerPort;
    int value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return kSyncServerPort;
        value = value * 10 + (*p - '0');
    }
    return value <= 65535 ? value : kSyncServerPort;
}

int SyncServerPort() { return ParseSyncPort(std::getenv("ZV_SYNC_PORT")); }

int ParseSyncReceiveMs(const char* text)
{
    if (!text || !*text || std::strlen(text) > 6) return kSyncReceiveMs;
    int value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return kSyncReceiveMs;
        value = value * 10 + (*p - '0');
    }
    return value >= 100 && value <= 600000 ? value : kSyncReceiveMs;
}

int SyncReceiveTimeoutMs() { return ParseSyncReceiveMs(std::getenv("ZV_SYNC_RECEIVE_MS")); }
