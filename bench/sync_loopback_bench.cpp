// Wi-Fi sync over loopback, both-ways mode: the handheld's database of
// 10,000 records' size, 100 attachments from the handheld and 100 from the
// desktop, through the listener, the socket transport and the conversation
// (the session's local work kept in memory). Windows build, run under Wine:
//   wine build/windows/bin/sync_loopback_bench.exe [records] [attachments]
// Prints the total, then when each phase ended (the time since the start
// and since the mark before).
#include <winsock2.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sync/protocol/SyncConversation.h"
#include "sync/server/SocketTransport.h"
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

private:
    ISyncSessionWork& m_work;
    Clock::time_point m_start;
    bool m_receivingAttachments = false;
    std::vector<std::pair<std::string, double>> m_marks;
};

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

}  // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int attachments = argc > 2 ? std::atoi(argv[2]) : 100;
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
    CSyncListener listener;
    if (listener.Start(0) != 0) return 1;
    CMemorySessionWork work;
    work.mode = kSyncBothWays;
    work.toSend[SyncSendSet::kDatabase] = {{"ZorvikanDataBase.db", database}};
    work.toSend[SyncSendSet::kAttachments] = fromDesktop;
    SyncOutcome outcome = SyncOutcome::kFailed;
    const Clock::time_point start = Clock::now();
    CTimedWork timed(work, start);
    std::thread server([&] {
        listener.Run([&](SOCKET socket, const std::string&, unsigned short) {
            timed.Mark("connected");
            CSocketTransport transport(socket);
            CSyncWire wire(transport, SyncWireLimits());
            CSyncConversation conversation(wire, timed);
            outcome = conversation.Run();
            timed.Mark("connection closed");
            listener.Stop();
        });
    });
    const bool played = Play(listener.Port(), script);
    server.join();
    const double seconds = Since(start);
    std::printf("both-ways sync over loopback: %d records (%zu bytes each way), %d + %d attachments of 20000 bytes: "
                "%.3f s, %s\n",
                records, database.size(), attachments, attachments, seconds,
                played && outcome == SyncOutcome::kSucceeded ? "succeeded" : "FAILED");
    timed.Print();
    PrintProcessorTime();
    WSACleanup();
    return played && outcome == SyncOutcome::kSucceeded ? 0 : 1;
}
