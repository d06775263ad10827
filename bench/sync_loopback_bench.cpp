// Wi-Fi sync over loopback, both-ways mode: the handheld's database of
// 10,000 records' size, 100 attachments from the handheld and 100 from the
// desktop, through the listener, the socket transports of a session (the
// server's gate before the password check) and the conversation (the
// session's local work kept in memory). Beside it, in the same run, the same
// bytes sent raw over Winsock in 4096-byte chunks, each acknowledged with two
// bytes, as the floor any session stands on. Windows build, run under Wine:
//   wine build/windows/bin/sync_loopback_bench.exe [records] [attachments] [rounds]
// Each round runs the raw transfer, then the session, and prints both, their
// ratio and the desktop's socket calls; then when each phase of the last
// session ended (the time since the start and since the mark before), and
// the medians.
#include <winsock2.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sync/protocol/SyncConversation.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncGateTransport.h"
#include "sync/server/SyncListener.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// The process's own processor time (both sides of the connection), which a
// loaded machine does not stretch the way it stretches the waits.
void PrintProcessorTime()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    std::printf("  processor time of the process: user %.3f s, kernel %.3f s\n", seconds(user), seconds(kernel));
}

// The session's work with a time mark at each step the conversation asks
// for, which splits the run into its phases.
class CTimedWork : public ISyncSessionWork {
public:
    CTimedWork(ISyncSessionWork& work, Clock::time_point start) : m_work(work), m_start(start) {}

    void Mark(const std::string& what) { m_marks.emplace_back(what, Since(m_start)); }
    void Print() const
    {
        double last = 0;
        for (const auto& mark : m_marks) {
            std::printf("  %-34s at %7.3f s  (+%.3f s)\n", mark.first.c_str(), mark.second, mark.second - last);
            last = mark.second;
        }
    }

    int Mode() override { return m_work.Mode(); }
    std::unique_ptr<ISyncFileWriter> CreateReceivedFile(SyncBatch batch, const std::string& name) override
    {
        if (batch == SyncBatch::kAttachments && !m_receivingAttachments) {
            m_receivingAttachments = true;
            Mark("attachments request answered");
        }
        return m_work.CreateReceivedFile(batch, name);
    }
    bool CanSync() override
    {
        Mark("handheld database received");
        return m_work.CanSync();
    }
    bool ReadDatabaseInfo() override { return m_work.ReadDatabaseInfo(); }
    SyncMergeResult CheckPasswordAndMerge() override
    {
        Mark("handheld attachments received");
        if (onCheck) onCheck();
        const SyncMergeResult result = m_work.CheckPasswordAndMerge();
        Mark("merge (kept in memory here)");
        return result;
    }
    std::vector<std::string> ListFiles(SyncSendSet set) override
    {
        switch (set) {
        case SyncSendSet::kDatabase: Mark("database requested"); break;
        case SyncSendSet::kAttachments: Mark("database sent"); break;
        case SyncSendSet::kIcons: Mark("attachments sent, icons"); break;
        }
        return m_work.ListFiles(set);
    }
    std::unique_ptr<ISyncFileReader> OpenFileToSend(SyncSendSet set, const std::string& name) override
    {
        return m_work.OpenFileToSend(set, name);
    }
    bool ApplyHandheldAttachments() override { return m_work.ApplyHandheldAttachments(); }
    bool WantsPasswordHint() override { return m_work.WantsPasswordHint(); }
    void StorePasswordHint(const std::string& hint) override { m_work.StorePasswordHint(hint); }

    // What the server does as the password check begins.
    std::function<void()> onCheck;

private:
    ISyncSessionWork& m_work;
    Clock::time_point m_start;
    bool m_receivingAttachments = false;
    std::vector<std::pair<std::string, double>> m_marks;
};

// The desktop's transport, counting its calls.
class CCountingTransport : public ISyncTransport {
public:
    explicit CCountingTransport(ISyncTransport& inner) : m_inner(inner) {}
    int Receive(uint8_t* buffer, size_t size, int timeoutMs) override
    {
        ++receives;
        return m_inner.Receive(buffer, size, timeoutMs);
    }
    int Send(const uint8_t* data, size_t size, int timeoutMs) override
    {
        ++sends;
        return m_inner.Send(data, size, timeoutMs);
    }
    int receives = 0, sends = 0;

private:
    ISyncTransport& m_inner;
};

// Connected loopback sockets: the desktop's end and the handheld's.
bool Connect(SOCKET& desktop, SOCKET& handheld)
{
    SOCKET listening = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listening, 1) != 0 ||
        getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return false;
    handheld = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connect(handheld, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    desktop = accept(listening, nullptr, nullptr);
    closesocket(listening);
    const BOOL noDelay = TRUE;
    for (SOCKET s : {desktop, handheld})
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return desktop != INVALID_SOCKET;
}

// Sends the bytes in acknowledged chunks, or receives and acknowledges them.
bool RawSend(SOCKET s, const std::string& bytes, int& calls)
{
    char ack[2];
    for (size_t at = 0; at < bytes.size(); at += 4096) {
        const int chunk = static_cast<int>(std::min<size_t>(4096, bytes.size() - at));
        ++calls;
        if (send(s, bytes.data() + at, chunk, 0) != chunk) return false;
        for (int have = 0; have < 2;) {
            ++calls;
            const int n = recv(s, ack + have, 2 - have, 0);
            if (n <= 0) return false;
            have += n;
        }
    }
    return true;
}

bool RawReceive(SOCKET s, size_t size, int& calls)
{
    char buffer[4096];
    for (size_t at = 0; at < size; at += 4096) {
        const int chunk = static_cast<int>(std::min<size_t>(4096, size - at));
        for (int have = 0; have < chunk;) {
            ++calls;
            const int n = recv(s, buffer + have, chunk - have, 0);
            if (n <= 0) return false;
            have += n;
        }
        ++calls;
        if (send(s, "OK", 2, 0) != 2) return false;
    }
    return true;
}

// The session's bytes raw: the handheld's database and attachments to the
// desktop, the desktop's database and attachments back. Seconds, or -1.
double RawTransfer(const std::string& database, const SyncFiles& fromHandheld, const SyncFiles& fromDesktop,
                   int& desktopCalls)
{
    SOCKET desktop = INVALID_SOCKET, handheld = INVALID_SOCKET;
    if (!Connect(desktop, handheld)) return -1;
    std::vector<std::string> up = {database}, down = {database};
    for (const auto& file : fromHandheld) up.push_back(file.second);
    for (const auto& file : fromDesktop) down.push_back(file.second);
    const Clock::time_point start = Clock::now();
    bool handheldOk = true;
    int handheldCalls = 0;
    std::thread peer([&] {
        for (const std::string& bytes : up) handheldOk = handheldOk && RawSend(handheld, bytes, handheldCalls);
        for (const std::string& bytes : down)
            handheldOk = handheldOk && RawReceive(handheld, bytes.size(), handheldCalls);
    });
    bool ok = true;
    for (const std::string& bytes : up) ok = ok && RawReceive(desktop, bytes.size(), desktopCalls);
    for (const std::string& bytes : down) ok = ok && RawSend(desktop, bytes, desktopCalls);
    peer.join();
    const double seconds = Since(start);
    closesocket(desktop);
    closesocket(handheld);
    return ok && handheldOk ? seconds : -1;
}

// Sends the handheld's part and reads (without checking) the desktop's.
bool Play(int port, const SyncScript& script)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    std::string got;
    bool ok = true;
    for (const SyncStep& step : script) {
        if (step.kind == SyncStep::kDesktop) {
            got.resize(step.text.size());
            size_t have = 0;
            while (have < got.size()) {
                const int n = recv(s, &got[have], static_cast<int>(got.size() - have), 0);
                if (n <= 0) break;
                have += static_cast<size_t>(n);
            }
            if (have != got.size() || got != step.text) {
                ok = false;
                break;
            }
        } else {
            send(s, step.text.data(), static_cast<int>(step.text.size()), 0);
        }
    }
    closesocket(s);
    return ok;
}

struct SessionRun {
    std::unique_ptr<CTimedWork> timed;
    CMemorySessionWork work;
    int receives = 0, sends = 0;
};

// One session as the server runs it; seconds, or -1 when it failed.
double RunSession(const std::string& database, const SyncFiles& fromDesktop, const SyncScript& script, SessionRun& run)
{
    CSyncListener listener;
    if (listener.Start(0) != 0) return -1;
    run.work.mode = kSyncBothWays;
    run.work.toSend[SyncSendSet::kDatabase] = {{"ZorvikanDataBase.db", database}};
    run.work.toSend[SyncSendSet::kAttachments] = fromDesktop;
    SyncOutcome outcome = SyncOutcome::kFailed;
    const Clock::time_point start = Clock::now();
    run.timed = std::make_unique<CTimedWork>(run.work, start);
    CTimedWork& timed = *run.timed;
    std::thread server([&] {
        listener.Run([&](SOCKET socket, const std::string&, unsigned short) {
            timed.Mark("connected");
            // The transports of the server's sessions.
            CSocketTransport socketTransport(socket);
            CCountingTransport counting(socketTransport);
            CSyncGateTransport transport(counting, CSyncGateTransport::kQuietMs);
            timed.onCheck = [&transport] { transport.Open(); };
            CSyncWire wire(transport, SyncWireLimits());
            CSyncConversation conversation(wire, timed);
            outcome = conversation.Run();
            timed.Mark("connection closed");
            run.receives = counting.receives;
            run.sends = counting.sends;
            listener.Stop();
        });
    });
    const bool played = Play(listener.Port(), script);
    server.join();
    const double seconds = Since(start);
    return played && outcome == SyncOutcome::kSucceeded ? seconds : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int attachments = argc > 2 ? std::atoi(argv[2]) : 100;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    // About 400 bytes a record in the handheld's file; attachments of 20 KB.
    const std::string database(static_cast<size_t>(records) * 400, 'd');
    SyncFiles fromHandheld, fromDesktop;
    for (int i = 0; i < attachments; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%x.zfa", 0x1000 + i);
        fromHandheld.push_back({name, std::string(20000, 'h')});
        std::snprintf(name, sizeof name, "%x.zfa", 0x8000 + i);
        fromDesktop.push_back({name, std::string(20000, 'w')});
    }
    const SyncScript script = PhaseOneStart({{"ZorvikanDataBase.db", database}}) +
                              SyncScript{D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments")} +
                              HandheldBatch(fromHandheld) + SyncScript{H("OK"), D("SyncFinalize"), H("OK"), D("OK")} +
                              DatabaseOnRequest(database) + DesktopFolder(fromDesktop) +
                              SyncScript{D("OK"), H("SyncFinalize"), D("SendiPhoneCustomIcons")} + HandheldBatch({}) +
                              SyncScript{H("SendDesktopCustomIcons")} + DesktopFolder({}) + EndConnection();

    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    // Turns of raw transfer and session, one after the other, so that a
    // machine that is busy for a while slows both alike.
    std::vector<double> raws, sessions, ratios;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        int rawCalls = 0;
        const double raw = RawTransfer(database, fromHandheld, fromDesktop, rawCalls);
        SessionRun run;
        const double seconds = RunSession(database, fromDesktop, script, run);
        std::printf("round %d: session %.3f s, raw %.3f s: %.2fx; desktop socket calls: session %d receives + %d "
                    "sends, raw %d\n",
                    round + 1, seconds, raw, raw > 0 ? seconds / raw : 0.0, run.receives, run.sends, rawCalls);
        if (round + 1 == rounds) run.timed->Print();
        ok = ok && raw > 0 && seconds > 0;
        raws.push_back(raw);
        sessions.push_back(seconds);
        ratios.push_back(raw > 0 ? seconds / raw : 0.0);
    }
    std::printf("both-ways sync over loopback: %d records (%zu bytes each way), %d + %d attachments of 20000 bytes: "
                "median %.3f s; the same bytes raw (a 2-byte ack per 4096): median %.3f s; median ratio %.2fx, %s\n",
                records, database.size(), attachments, attachments, Median(sessions), Median(raws), Median(ratios),
                ok ? "succeeded" : "FAILED");
    PrintProcessorTime();
    WSACleanup();
    return ok ? 0 : 1;
}
