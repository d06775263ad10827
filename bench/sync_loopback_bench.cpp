// Wi-Fi sync over loopback, both-ways mode: the handheld's database of
// 10,000 records' size, 100 attachments from the handheld and 100 from the
// desktop, through the listener, the socket transport and the conversation
// (the session's local work kept in memory). Windows build, run under Wine:
//   wine build/windows/bin/sync_loopback_bench.exe [records] [attachments]
#include <winsock2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "sync/protocol/SyncConversation.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncListener.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

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
    std::thread server([&] {
        listener.Run([&](SOCKET socket, const std::string&, unsigned short) {
            CSocketTransport transport(socket);
            CSyncWire wire(transport, SyncWireLimits());
            CSyncConversation conversation(wire, work);
            outcome = conversation.Run();
            listener.Stop();
        });
    });
    const auto start = std::chrono::steady_clock::now();
    const bool played = Play(listener.Port(), script);
    server.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("both-ways sync over loopback: %d records (%zu bytes each way), %d + %d attachments of 20000 bytes: "
                "%.3f s, %s\n",
                records, database.size(), attachments, attachments, seconds,
                played && outcome == SyncOutcome::kSucceeded ? "succeeded" : "FAILED");
    WSACleanup();
    return played && outcome == SyncOutcome::kSucceeded ? 0 : 1;
}
