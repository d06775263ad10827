// The sync's listener, socket transport and conversation over loopback: a
// handheld thread plays each script on a real connection.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "sync/protocol/SyncConversation.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncListener.h"
#include "sync/server/SyncPort.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

const std::string kDb = "ZorvikanDataBase.db";

// Plays the handheld's part: sends each answer, reads exactly what the
// desktop must say and compares it. "" when all went as scripted and the
// desktop then closed the connection.
std::string PlayHandheld(int port, const SyncScript& script, bool stallAtEnd)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return "no connection";
    DWORD wait = 10000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
    std::string error;
    for (const SyncStep& step : script) {
        if (step.kind == SyncStep::kClose) break;
        if (step.kind == SyncStep::kDesktop) {
            std::string got(step.text.size(), '\0');
            size_t have = 0;
            while (have < got.size()) {
                const int n = recv(s, &got[have], static_cast<int>(got.size() - have), 0);
                if (n <= 0) break;
                have += static_cast<size_t>(n);
            }
            if (got.substr(0, have) != step.text) {
                error = "expected \"" + step.text.substr(0, 40) + "\", got \"" +
                        got.substr(0, std::min<size_t>(have, 40)) + "\"";
                break;
            }
        } else {
            send(s, step.text.data(), static_cast<int>(step.text.size()), 0);
            // A part goes as a segment of its own.
            if (step.kind == SyncStep::kHandheldPart) Sleep(50);
        }
    }
    if (error.empty() && script.back().kind != SyncStep::kClose) {
        if (stallAtEnd) Sleep(1500);
        char extra[16];
        const int n = recv(s, extra, sizeof extra, 0);
        if (n != 0) error = "the desktop did not close the connection";
    }
    closesocket(s);
    return error;
}

struct ServerCase {
    const char* what;
    int mode;
    SyncScript script;
    SyncOutcome outcome;
    bool stall;
};

SyncScript BothWaysSuccess()
{
    return PhaseOneStart({{kDb, std::string(5000, 'd')}}) +
           SyncScript{D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments")} +
           HandheldBatch({{"1a.zfa", std::string(4097, 'a')}}) +
           SyncScript{H("OK"), D("SyncFinalize"), HPart("O"), H("K"), D("OK")} + DatabaseOnRequest("rewritten") +
           DesktopFolder({{"2b.zfa", std::string(9000, 'b')}}) +
           SyncScript{D("OK"), H("SyncFinalize"), D("SendiPhoneCustomIcons")} + HandheldBatch({}) +
           SyncScript{H("SendDesktopCustomIcons")} + DesktopFolder({}) + EndConnection();
}

TEST(SyncServer, SessionsOverLoopbackInEveryModeOneAfterAnother)
{
    const ServerCase cases[] = {
        {"both ways", kSyncBothWays, BothWaysSuccess(), SyncOutcome::kSucceeded, false},
        {"desktop overwrites", kSyncDesktopOverwrites,
         PhaseOneStart({{kDb, "db"}}) + SyncScript{D("SyncModeDesktopOverides"), H("OK"), D("SyncFinalize")} +
             DatabaseOnRequest("rewritten") + DesktopFolder({{"2b.zfa", std::string(9000, 'b')}}) +
             SyncScript{D("OK"), H("SyncSuccess"), H("No")} + EndConnection(),
         SyncOutcome::kSucceeded, false},
        {"handheld overwrites", kSyncHandheldOverwrites,
         PhaseOneStart({{kDb, "db"}}) + SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} +
             HandheldBatch({{"1a.zfa", std::string(4096, 'a')}}) + SyncScript{D("SyncFinalize"), H("SyncSuccess")} +
             SyncScript{D("SendiPhoneCustomIcons")} + HandheldBatch({{"1000.png", "p"}}) + EndConnection(),
         SyncOutcome::kSucceeded, false},
        {"wrong final reply", kSyncHandheldOverwrites,
         PhaseOneStart({{kDb, "db"}}) + SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} + HandheldBatch({}) +
             SyncScript{D("SyncFinalize"), H("Failure")} + FailedWith("00000005"),
         SyncOutcome::kFailed, false},
        {"unsafe name", kSyncBothWays,
         SyncScript{D("SendiPhoneDatabase"), H("OK"), D("OK")} +
             HandheldBatch({{"..\\ZorvikanDatabase.zdb", std::string(5000, 'x')}}) +
             SyncScript{D("SyncFailed"), H("OK"), D("00000005"), H("OK")} + EndConnection(),
         SyncOutcome::kFailed, false},
        {"cancel", kSyncBothWays,
         PhaseOneStart({{kDb, "db"}}) +
             SyncScript{D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments"), H("SyncHasToStop"),
                        D("OK")} +
             EndConnection(),
         SyncOutcome::kCancelled, false},
        {"stall", kSyncBothWays, SyncScript{D("SendiPhoneDatabase"), H("OK"), D("OK"), HPart("FileSe")},
         SyncOutcome::kFailed, true},
        {"both ways again", kSyncBothWays, BothWaysSuccess(), SyncOutcome::kSucceeded, false},
    };
    const size_t count = sizeof cases / sizeof cases[0];

    CSyncListener listener;
    ASSERT_EQ(listener.Start(0), 0);
    ASSERT_NE(listener.Port(), 0);
    std::mutex lock;
    std::vector<SyncOutcome> outcomes;
    std::vector<CMemorySessionWork> works(count);
    std::thread server([&] {
        listener.Run([&](SOCKET socket, const std::string& address, unsigned short) {
            EXPECT_EQ(address, "127.0.0.1");
            size_t index;
            {
                std::lock_guard<std::mutex> guard(lock);
                index = outcomes.size();
            }
            if (index >= count) {
                closesocket(socket);
                return;
            }
            CSocketTransport transport(socket);
            SyncWireLimits limits;
            limits.receiveMs = 700;
            CSyncWire wire(transport, limits);
            CMemorySessionWork& work = works[index];
            work.mode = cases[index].mode;
            work.toSend[SyncSendSet::kDatabase] = {{kDb, "rewritten"}};
            work.toSend[SyncSendSet::kAttachments] = {{"2b.zfa", std::string(9000, 'b')}};
            CSyncConversation conversation(wire, work);
            const SyncOutcome outcome = conversation.Run();
            std::lock_guard<std::mutex> guard(lock);
            outcomes.push_back(outcome);
        });
    });
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(PlayHandheld(listener.Port(), cases[i].script, cases[i].stall), "") << cases[i].what;
        for (int tries = 0; tries < 200; ++tries) {
            {
                std::lock_guard<std::mutex> guard(lock);
                if (outcomes.size() > i) break;
            }
            Sleep(10);
        }
        std::lock_guard<std::mutex> guard(lock);
        ASSERT_GT(outcomes.size(), i) << cases[i].what;
        EXPECT_EQ(outcomes[i], cases[i].outcome) << cases[i].what;
    }
    EXPECT_EQ(works[0].received[SyncBatch::kAttachments]["1a.zfa"], std::string(4097, 'a'));
    EXPECT_EQ(works[2].received[SyncBatch::kIcons]["1000.png"], "p");
    EXPECT_TRUE(works[4].received[SyncBatch::kDatabase].empty());
    listener.Stop();
    server.join();
}

// Both ends of one loopback connection: the desktop's and the handheld's.
struct SocketPair {
    SOCKET desktop = INVALID_SOCKET;
    SOCKET handheld = INVALID_SOCKET;
    SocketPair()
    {
        SOCKET listening = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listening, 1) != 0 ||
            getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            closesocket(listening);
            return;
        }
        handheld = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(handheld, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            desktop = accept(listening, nullptr, nullptr);
        closesocket(listening);
    }
    ~SocketPair()
    {
        if (handheld != INVALID_SOCKET) closesocket(handheld);
    }
};

std::string Received(CSocketTransport& transport, int timeoutMs, int& result)
{
    uint8_t buffer[64];
    result = transport.Receive(buffer, sizeof buffer, timeoutMs);
    return result > 0 ? std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(result)) : std::string();
}

TEST(SyncServer, TheSocketTransportWaitsAtMostItsTimeOutAndKeepsTheStreamAfterAPause)
{
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    {
        SocketPair pair;
        ASSERT_NE(pair.desktop, INVALID_SOCKET);
        CSocketTransport transport(pair.desktop);
        int result = 0;
        // A pause: nothing came, and the bytes sent after it arrive whole.
        for (int pauseMs : {1, 20, CSocketTransport::kPauseWaitMs - 1}) {
            EXPECT_EQ(Received(transport, pauseMs, result), "") << pauseMs;
            EXPECT_EQ(result, kSyncIoTimedOut) << pauseMs;
        }
        send(pair.handheld, "OKFileSend", 10, 0);
        std::string got;
        while (got.size() < 10) {
            const std::string part = Received(transport, 5000, result);
            if (result <= 0) break;
            got += part;
        }
        EXPECT_EQ(got, "OKFileSend");
        // Bytes already there come back at once, even from a pause.
        send(pair.handheld, "EndOfFiles", 10, 0);
        Sleep(100);
        EXPECT_EQ(Received(transport, 5, result), "EndOfFiles");
        const uint8_t answer[] = {'O', 'K'};
        EXPECT_EQ(transport.Send(answer, sizeof answer, 5000), 0);
        char echo[2] = {};
        EXPECT_EQ(recv(pair.handheld, echo, sizeof echo, 0), 2);
        EXPECT_EQ(std::string(echo, 2), "OK");
        // A long wait for a silent peer ends with its time-out.
        const DWORD started = GetTickCount();
        EXPECT_EQ(Received(transport, 1500, result), "");
        EXPECT_EQ(result, kSyncIoTimedOut);
        const DWORD waited = GetTickCount() - started;
        EXPECT_GE(waited, 1300u);
        EXPECT_LT(waited, 10000u);
    }
    {
        SocketPair pair;
        ASSERT_NE(pair.desktop, INVALID_SOCKET);
        CSocketTransport transport(pair.desktop);
        shutdown(pair.handheld, SD_SEND);
        int result = 0;
        EXPECT_EQ(Received(transport, 5000, result), "");
        EXPECT_EQ(result, kSyncIoClosed);
    }
    WSACleanup();
}

TEST(SyncServer, TheAcceptLoopStopsWhileNobodyConnects)
{
    CSyncListener listener;
    ASSERT_EQ(listener.Start(0), 0);
    std::atomic<bool> ended{false};
    std::thread server([&] {
        listener.Run([](SOCKET socket, const std::string&, unsigned short) { closesocket(socket); });
        ended = true;
    });
    Sleep(300);
    EXPECT_FALSE(ended);
    const DWORD asked = GetTickCount();
    listener.Stop();
    server.join();
    EXPECT_TRUE(ended);
    EXPECT_LT(GetTickCount() - asked, 2000u);
}

TEST(SyncServer, ThePortIsTheDefaultUnlessTestsNameAnother)
{
    EXPECT_EQ(ParseSyncPort(nullptr), 6674);
    EXPECT_EQ(ParseSyncPort(""), 6674);
    EXPECT_EQ(ParseSyncPort("40123"), 40123);
    EXPECT_EQ(ParseSyncPort("0"), 0);
    EXPECT_EQ(ParseSyncPort("65536"), 6674);
    EXPECT_EQ(ParseSyncPort("12a"), 6674);
    EXPECT_EQ(ParseSyncPort("-5"), 6674);
}

TEST(SyncServer, TheReceiveTimeOutIsTheDefaultUnlessTestsNameAnother)
{
    EXPECT_EQ(ParseSyncReceiveMs(nullptr), 30000);
    EXPECT_EQ(ParseSyncReceiveMs("2000"), 2000);
    EXPECT_EQ(ParseSyncReceiveMs("99"), 30000);
    EXPECT_EQ(ParseSyncReceiveMs("600001"), 30000);
    EXPECT_EQ(ParseSyncReceiveMs("2s"), 30000);
}

}  // namespace
