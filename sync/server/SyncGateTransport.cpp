#include "sync/server/SyncGateTransport.h"

#include <algorithm>
#include <chrono>

namespace {

int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CSyncGateTransport::CSyncGateTransport(ISyncTransport& inner, int quietMs, Clock clock)
    : m_inner(inner), m_quietMs(std::max(quietMs, 1)), m_clock(clock ? std::move(clock) : Clock(SteadyMs))
{
    m_deadline = m_clock() + kAllowanceMs;
}

int CSyncGateTransport::Receive(uint8_t* buffer, size_t size, int timeoutMs)
{
    if (m_open) return m_inner.Receive(buffer, size, timeoutMs);
    const int64_t left = m_deadline - m_clock();
    // Out of time: the connection is given up, not paused.
    if (left <= 0) return kSyncIoError;
    const int wait = static_cast<int>(std::min<int64_t>({timeoutMs, m_quietMs, left}));
    const int got = m_inner.Receive(buffer, size, wait);
    if (got > 0) {
        // The allowance grows by whole kilobytes received.
        const int64_t before = m_received / 1024;
        m_received += got;
        m_deadline += (m_received / 1024 - before) * kMsPerKilobyte;
    }
    return got;
}

int CSyncGateTransport::Send(const uint8_t* data, size_t size, int timeoutMs)
{
    return m_inner.Send(data, size, m_open ? timeoutMs : std::min(timeoutMs, m_quietMs));
}
