#pragma once
// CSyncGateTransport: the stream of a session that has not yet passed the
// password check. Anybody on the network can connect, so until the session
// opens the gate each receive waits at most a short quiet time and the whole
// receiving must end by a deadline that only the bytes received move on: a
// silent or trickling peer is dropped within seconds, while a handheld
// sending its database and attachments is given the time its bytes need.
// Once open, the waits are the conversation's own.
#include <cstdint>
#include <functional>

#include "sync/protocol/SyncTransport.h"

class CSyncGateTransport : public ISyncTransport {
public:
    using Clock = std::function<int64_t()>;  // milliseconds, monotonic

    // How long a peer before the password check may stay silent, and the
    // time it has to pass it before the bytes it sent earn it more.
    static const int kQuietMs = 5000;
    static const int kAllowanceMs = 8000;
    // Time each further kilobyte received earns.
    static const int kMsPerKilobyte = 60;

    // quietMs: the longest wait of one receive before the gate opens.
    CSyncGateTransport(ISyncTransport& inner, int quietMs, Clock clock = Clock());

    // From now on every wait is the one asked for.
    void Open() { m_open = true; }
    bool IsOpen() const { return m_open; }

    int Receive(uint8_t* buffer, size_t size, int timeoutMs) override;
    int Send(const uint8_t* data, size_t size, int timeoutMs) override;

private:
    ISyncTransport& m_inner;
    int m_quietMs;
    Clock m_clock;
    int64_t m_deadline;
    int64_t m_received = 0;
    bool m_open = false;
};
