#pragma once
// CSyncWire: the Wi-Fi sync's messages over a byte stream. The messages are
// bare text without length or terminator, so one receive is never taken as
// one message: a fixed token is read byte for byte, a reply of 2 bytes as
// exactly 2 bytes, and text of free length (a name, a size, the hint) as what
// arrives until the peer falls quiet for a moment, or sooner when the caller
// can tell it is complete. Bytes that arrive beyond a message wait for the
// next read. Every wait is bounded by the receive time-out and by the
// session's own limit; text longer than its limit ends the conversation.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sync/protocol/SyncTransport.h"

enum SyncWireResult {
    kSyncWireOk = 0,
    kSyncWireClosed = -1,     // the peer closed the connection
    kSyncWireTimedOut = -2,   // the peer sent nothing in time
    kSyncWireBroken = -3,     // the connection failed
    kSyncWireOutOfStep = -4,  // text longer than its limit
    kSyncWireExpired = -5,    // the session ran past its limit
};

struct SyncWireLimits {
    int receiveMs = 30000;
    int sendMs = 30000;
    // How long the peer must stay silent before free-length text counts as
    // complete (tolerates a message split over two receives).
    int quietMs = 20;
    // The same for a file size: the peer waits for the answer to it, so the
    // size is whole once a receive brought it and nothing more has arrived
    // by then (a size split over two sends still joins when they come
    // together). No wait: under Wine even a wait of a few milliseconds costs
    // more than a received file's bytes.
    int sizeQuietMs = 0;
    int64_t sessionMs = 15 * 60 * 1000;
};

class CSyncWire {
public:
    using Clock = std::function<int64_t()>;  // milliseconds, monotonic
    CSyncWire(ISyncTransport& transport, const SyncWireLimits& limits, Clock clock = Clock());

    int SendText(const std::string& text);
    int SendBytes(const uint8_t* data, size_t size);

    // A 2-byte acknowledgement, not examined.
    int ReadAck();
    // One of the tokens: which is its index. Any other text is read as free
    // text of at most limit bytes into other, and which is -1.
    int ReadToken(const std::vector<std::string>& tokens, size_t limit, int& which, std::string& other);
    // Free-length text of at most limit bytes; complete, when given, says that
    // the text read so far is whole without waiting for silence.
    int ReadText(size_t limit, std::string& text, const std::function<bool(const std::string&)>& complete = {});
    // A file size: decimal text of at most limit bytes, whole once nine
    // digits came or the peer stayed quiet for sizeQuietMs (0: nothing more
    // had arrived).
    int ReadSize(size_t limit, std::string& text);
    // Up to size bytes (at least 1): what is buffered, or one receive.
    int ReadSome(uint8_t* buffer, size_t size, size_t& got);

    // Bytes received and not yet read as a message.
    size_t Pending() const { return m_pending.size() - m_start; }

private:
    // One receive appended to the pending bytes; kSyncWireTimedOut when
    // nothing came within timeoutMs (or the session's limit).
    int Fill(int timeoutMs);
    int TimeLeft(int timeoutMs, int& waitMs) const;
    void Consume(size_t count);

    ISyncTransport& m_transport;
    SyncWireLimits m_limits;
    Clock m_clock;
    int64_t m_deadline;
    std::string m_pending;
    size_t m_start = 0;
};
