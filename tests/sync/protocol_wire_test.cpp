#include <gtest/gtest.h>

#include "sync/protocol/SyncWire.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

const std::vector<std::string> kCommands = {"FileSend", "EndOfFiles", "SyncHasToStop"};

struct WireRig {
    explicit WireRig(SyncScript script, SyncWireLimits limits = SyncWireLimits())
        : peer(std::move(script)), wire(peer, limits, [this] { return peer.Now(); })
    {}
    CScriptedHandheld peer;
    CSyncWire wire;
};

struct TokenCase {
    const char* what;
    SyncScript script;
    std::vector<int> tokens;  // the indexes read in turn
};

TEST(SyncWire, TokensAreFoundWhateverTheReceivesCut)
{
    const TokenCase cases[] = {
        {"one each", {H("FileSend")}, {0}},
        {"split", {HPart("File"), H("Send")}, {0}},
        {"byte by byte", {HPart("E"), HPart("n"), HPart("dOfFil"), H("es")}, {1}},
        {"glued", {H("FileSend"), H("EndOfFiles")}, {0, 1}},
        {"glued and split", {HPart("SyncHasToStopFile"), H("Send")}, {2, 0}},
    };
    for (const TokenCase& c : cases) {
        WireRig rig(c.script);
        for (int expected : c.tokens) {
            int which = -9;
            std::string other;
            ASSERT_EQ(rig.wire.ReadToken(kCommands, 200, which, other), kSyncWireOk) << c.what;
            EXPECT_EQ(which, expected) << c.what;
        }
        EXPECT_EQ(rig.wire.Pending(), 0u) << c.what;
    }
}

TEST(SyncWire, AnAckIsExactlyTwoBytesAndLeavesTheRest)
{
    WireRig rig({H("OKFileSend")});
    ASSERT_EQ(rig.wire.ReadAck(), kSyncWireOk);
    int which = -1;
    std::string other;
    ASSERT_EQ(rig.wire.ReadToken(kCommands, 200, which, other), kSyncWireOk);
    EXPECT_EQ(which, 0);
}

TEST(SyncWire, OtherTextIsReadUntilThePeerFallsQuiet)
{
    WireRig rig({HPart("Hello"), H(" there"), D("OK"), H("FileSend")});
    int which = 0;
    std::string other;
    ASSERT_EQ(rig.wire.ReadToken(kCommands, 200, which, other), kSyncWireOk);
    EXPECT_EQ(which, -1);
    EXPECT_EQ(other, "Hello there");
    ASSERT_EQ(rig.wire.SendText("OK"), kSyncWireOk);
    ASSERT_EQ(rig.wire.ReadToken(kCommands, 200, which, other), kSyncWireOk);
    EXPECT_EQ(which, 0);
}

TEST(SyncWire, TextOverItsLimitPutsTheStreamOutOfStep)
{
    WireRig rig({H(std::string(201, 'x'))});
    int which = 0;
    std::string other;
    EXPECT_EQ(rig.wire.ReadToken(kCommands, 200, which, other), kSyncWireOutOfStep);
    WireRig exact({H(std::string(200, 'x'))});
    EXPECT_EQ(exact.wire.ReadToken(kCommands, 200, which, other), kSyncWireOk);
    EXPECT_EQ(other.size(), 200u);
}

TEST(SyncWire, ACompleteTextNeedsNoSilence)
{
    const auto isName = [](const std::string& t) { return t == "1.png"; };
    {
        WireRig rig({H("1.png")});
        std::string text;
        ASSERT_EQ(rig.wire.ReadText(511, text, isName), kSyncWireOk);
        EXPECT_EQ(text, "1.png");
        EXPECT_EQ(rig.peer.Now(), 0);
    }
    {
        // Anything glued behind it is the peer out of step: the whole text
        // is read, after silence, for the caller to refuse.
        WireRig rig({H("1.png7")});
        std::string text;
        ASSERT_EQ(rig.wire.ReadText(511, text, isName), kSyncWireOk);
        EXPECT_EQ(text, "1.png7");
    }
}

TEST(SyncWire, SilenceClosingAndTheSessionLimitEndTheRead)
{
    SyncWireLimits limits;
    limits.receiveMs = 1000;
    limits.sessionMs = 60000;
    {
        WireRig rig({}, limits);
        EXPECT_EQ(rig.wire.ReadAck(), kSyncWireTimedOut);
        EXPECT_EQ(rig.peer.Now(), 1000);
    }
    {
        WireRig rig({HPart("O"), HClose()}, limits);
        EXPECT_EQ(rig.wire.ReadAck(), kSyncWireClosed);
    }
    {
        // Waits that add up past the session's limit end it.
        limits.sessionMs = 2500;
        WireRig rig({}, limits);
        EXPECT_EQ(rig.wire.ReadAck(), kSyncWireTimedOut);
        EXPECT_EQ(rig.wire.ReadAck(), kSyncWireTimedOut);
        EXPECT_EQ(rig.wire.ReadAck(), kSyncWireExpired);
        EXPECT_EQ(rig.wire.SendText("OK"), kSyncWireExpired);
        EXPECT_LE(rig.peer.Now(), 2500);
    }
}

}  // namespace
