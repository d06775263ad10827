#include "sync/protocol/SyncWire.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int FromIo(int io)
{
    switch (io) {
    case kSyncIoClosed: return kSyncWireClosed;
    case kSyncIoTimedOut: return kSyncWireTimedOut;
    default: return kSyncWireBroken;
    }
}

}  // namespace

CSyncWire::CSyncWire(ISyncTransport& transport, const SyncWireLimits& limits, Clock clock)
    : m_transport(transport), m_limits(limits), m_clock(clock ? std::move(clock) : Clock(SteadyMs))
{
    m_deadline = m_clock() + m_limits.sessionMs;
}

int CSyncWire::TimeLeft(int timeoutMs, int& waitMs) const
{
    const int64_t left = m_deadline - m_clock();
    if (left <= 0) return kSyncWireExpired;
    waitMs = static_cast<int>(std::min<int64_t>(timeoutMs, left));
    return kSyncWireOk;
}

int CSyncWire::SendText(const std::string& text)
{
    return SendBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

int CSyncWire::SendBytes(const uint8_t* data, size_t size)
{
    int waitMs = 0;
    if (int result = TimeLeft(m_limits.sendMs, waitMs)) return result;
    const int io = m_transport.Send(data, size, waitMs);
    return io == 0 ? kSyncWireOk : FromIo(io);
}

int CSyncWire::Fill(int timeoutMs)
{
    int waitMs = 0;
    if (int result = TimeLeft(timeoutMs, waitMs)) return result;
    if (m_start > 0 && m_start == m_pending.size()) {
        m_pending.clear();
        m_start = 0;
    }
    uint8_t buffer[4096];
    const int io = m_transport.Receive(buffer, sizeof buffer, waitMs);
    if (io <= 0) {
        // Silence up to the session's limit is the limit's failure.
        if (io == kSyncIoTimedOut && m_deadline - m_clock() <= 0) return kSyncWireExpired;
        return FromIo(io);
    }
    m_pending.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(io));
    return kSyncWireOk;
}

void CSyncWire::Consume(size_t count)
{
    m_start += count;
    if (m_start == m_pending.size()) {
        m_pending.clear();
        m_start = 0;
    }
}

int CSyncWire::ReadAck()
{
    while (Pending() < 2) {
        if (int result = Fill(m_limits.receiveMs)) return result;
    }
    Consume(2);
    return kSyncWireOk;
}

int CSyncWire::ReadToken(const std::vector<std::string>& tokens, size_t limit, int& which, std::string& other)
{
    which = -1;
    other.clear();
    for (;;) {
        const char* head = m_pending.data() + m_start;
        const size_t have = Pending();
        bool couldBe = false;
        for (size_t i = 0; i < tokens.size(); ++i) {
            const std::string& token = tokens[i];
            const size_t common = std::min(have, token.size());
            if (std::memcmp(head, token.data(), common) != 0) continue;
            if (have >= token.size()) {
                Consume(token.size());
                which = static_cast<int>(i);
                return kSyncWireOk;
            }
            couldBe = true;
        }
        if (!couldBe && have > 0) return ReadText(limit, other);
        if (int result = Fill(m_limits.receiveMs)) return result;
    }
}

int CSyncWire::ReadSize(size_t limit, std::string& text)
{
    const int quiet = m_limits.quietMs;
    m_limits.quietMs = std::min(m_limits.quietMs, m_limits.sizeQuietMs);
    const int result = ReadText(limit, text, [](const std::string& digits) {
        return digits.size() == 9 && digits.find_first_not_of("0123456789") == std::string::npos;
    });
    m_limits.quietMs = quiet;
    return result;
}

int CSyncWire::ReadText(size_t limit, std::string& text, const std::function<bool(const std::string&)>& complete)
{
    text.clear();
    if (Pending() == 0) {
        if (int result = Fill(m_limits.receiveMs)) return result;
    }
    for (;;) {
        if (Pending() > limit) return kSyncWireOutOfStep;
        if (complete && complete(m_pending.substr(m_start))) break;
        const int result = Fill(m_limits.quietMs);
        if (result == kSyncWireTimedOut) break;
        if (result != kSyncWireOk) return result;
    }
    text = m_pending.substr(m_start);
    Consume(Pending());
    return kSyncWireOk;
}

int CSyncWire::ReadSome(uint8_t* buffer, size_t size, size_t& got)
{
    got = 0;
    if (Pending() == 0) {
        if (int result = Fill(m_limits.receiveMs)) return result;
    }
    got = std::min(size, Pending());
    std::memcpy(buffer, m_pending.data() + m_start, got);
    Consume(got);
    return kSyncWireOk;
}
