#pragma once
// ISyncTransport: the byte stream under the Wi-Fi sync conversation. The
// server gives it a connected socket; tests give it a scripted peer. Every
// call waits at most the time it is given.
#include <cstddef>
#include <cstdint>

enum SyncIoResult {
    kSyncIoClosed = 0,     // the peer closed its side
    kSyncIoTimedOut = -1,  // nothing arrived (or could be sent) in time
    kSyncIoError = -2,     // the connection failed
};

class ISyncTransport {
public:
    virtual ~ISyncTransport() = default;
    // Up to size bytes; the count (> 0) or a SyncIoResult.
    virtual int Receive(uint8_t* buffer, size_t size, int timeoutMs) = 0;
    // All size bytes; 0 or a SyncIoResult.
    virtual int Send(const uint8_t* data, size_t size, int timeoutMs) = 0;
};
