// libFuzzer target: the bytes as everything a handheld says in one Wi-Fi
// sync session, against the desktop's side of the conversation with its
// local work kept in memory and a clock of its own. The first byte picks the
// sync mode and the local answers; the rest is a run of sends, each a length
// byte and that many bytes (length 0: the handheld stays silent for one
// receive), and the handheld hangs up after the last. Every session must
// end, take only names its batches accept, and keep no more bytes than the
// handheld sent.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sync/protocol/SyncConversation.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

class CFuzzedHandheld : public ISyncTransport {
public:
    CFuzzedHandheld(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    int Receive(uint8_t* buffer, size_t size, int timeoutMs) override
    {
        if (m_left == 0) {
            if (m_at >= m_size) return kSyncIoClosed;
            m_left = m_data[m_at++];
            if (m_left == 0) {
                m_now += timeoutMs;
                return kSyncIoTimedOut;
            }
        }
        const size_t take = std::min({size, m_left, m_size - m_at});
        if (take == 0) {
            m_left = 0;
            return kSyncIoClosed;
        }
        std::memcpy(buffer, m_data + m_at, take);
        m_at += take;
        m_left -= take;
        return static_cast<int>(take);
    }

    int Send(const uint8_t*, size_t size, int) override
    {
        m_said += size;
        return 0;
    }

    int64_t Now() const { return m_now; }
    size_t Said() const { return m_said; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
    size_t m_left = 0;
    size_t m_said = 0;
    int64_t m_now = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t setup = data[0];
    CMemorySessionWork work;
    work.mode = setup % 3;
    work.merge = (setup >> 2) % 3 == 0   ? SyncMergeResult::kMerged
                 : (setup >> 2) % 3 == 1 ? SyncMergeResult::kPasswordMismatch
                                         : SyncMergeResult::kFailed;
    work.infoReadable = (setup & 0x10) == 0;
    work.wantsHint = (setup & 0x20) != 0;
    work.applyAttachments = (setup & 0x40) == 0;
    work.canSync = (setup & 0x80) == 0;
    work.toSend[SyncSendSet::kDatabase] = {{"ZorvikanDataBase.db", "rewritten"}};
    work.toSend[SyncSendSet::kAttachments] = {{"2b.zfa", std::string(5000, 'b')}};
    work.toSend[SyncSendSet::kIcons] = {{"1000.png", "icon"}};

    CFuzzedHandheld peer(data + 1, size - 1);
    SyncWireLimits limits;
    limits.receiveMs = 1000;
    limits.sessionMs = 600000;
    CSyncWire wire(peer, limits, [&peer] { return peer.Now(); });
    CSyncConversation conversation(wire, work);
    const SyncOutcome outcome = conversation.Run();
    CHECK(outcome == SyncOutcome::kSucceeded || outcome == SyncOutcome::kCancelled ||
          outcome == SyncOutcome::kPasswordMismatch || outcome == SyncOutcome::kUnreadable ||
          outcome == SyncOutcome::kFailed);

    size_t kept = 0;
    for (const auto& batch : work.received) {
        for (const auto& file : batch.second) {
            CHECK(IsAcceptedSyncFileName(batch.first, file.first));
            kept += file.second.size();
        }
    }
    CHECK(kept <= size);
    // The desktop says a bounded amount: its own words and files, never an
    // echo that grows with what it was sent.
    CHECK(peer.Said() <= 64 * 1024 + 64 * size);
    return 0;
}
