#include <gtest/gtest.h>

#include "sync/protocol/SyncConversation.h"
#include "tests/sync/SyncScriptedPeer.h"

namespace {

using Files = SyncFiles;

const std::string kDb = "ZorvikanDataBase.db";

std::string Bytes(size_t size, char seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7);
    return bytes;
}

const SyncScript kEnd = EndConnection();

struct Session {
    explicit Session(SyncScript s, SyncWireLimits limits = SyncWireLimits())
        : script(std::move(s)), peer(script), wire(peer, limits, [this] { return peer.Now(); })
    {}
    SyncOutcome Run()
    {
        CSyncConversation conversation(wire, work);
        const SyncOutcome outcome = conversation.Run();
        wireResult = conversation.WireResult();
        return outcome;
    }
    SyncScript script;
    CScriptedHandheld peer;
    CSyncWire wire;
    CMemorySessionWork work;
    int wireResult = 0;
};

// Mode 2 with a file each way in every batch.
struct BothWays {
    std::string db = Bytes(5000, 'd');
    std::string rewritten = Bytes(300, 'r');
    Files handheldAttachments = {{"1a.zfa", Bytes(4097, 'a')}};
    Files desktopAttachments = {{"2b.zfa", Bytes(10, 'b')}, {"3c.zfa", Bytes(4096, 'c')}};
    Files handheldIcons = {{"1004.png", Bytes(20, 'i')}};
    Files desktopIcons = {{"1000.png", "x"}, {"1003.png", "z"}, {"1001.png", "y"}};

    SyncScript Script() const
    {
        return PhaseOneStart({{kDb, db}}) +
               SyncScript{D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments")} +
               HandheldBatch(handheldAttachments) + SyncScript{H("OK"), D("SyncFinalize"), H("OK"), D("OK")} +
               DatabaseOnRequest(rewritten) + DesktopFolder(desktopAttachments) +
               SyncScript{D("OK"), H("SyncFinalize"), D("SendiPhoneCustomIcons")} + HandheldBatch(handheldIcons) +
               SyncScript{H("SendDesktopCustomIcons")} +
               // Numbered from 1000 up to the first gap: 1003 stays behind.
               DesktopFolder({{"1000.png", "x"}, {"1001.png", "y"}}) + kEnd;
    }
    void Fill(CMemorySessionWork& work) const
    {
        work.mode = kSyncBothWays;
        work.toSend[SyncSendSet::kDatabase] = {{kDb, rewritten}};
        work.toSend[SyncSendSet::kAttachments] = desktopAttachments;
        work.toSend[SyncSendSet::kIcons] = desktopIcons;
    }
};

TEST(SyncConversation, BothWaysExchangesEveryBatch)
{
    const BothWays both;
    Session session(both.Script());
    both.Fill(session.work);
    EXPECT_EQ(session.Run(), SyncOutcome::kSucceeded);
    EXPECT_EQ(session.peer.Said(), session.peer.Expected());
    EXPECT_EQ(session.work.received[SyncBatch::kDatabase][kDb], both.db);
    EXPECT_EQ(session.work.received[SyncBatch::kAttachments]["1a.zfa"], both.handheldAttachments[0].second);
    EXPECT_EQ(session.work.received[SyncBatch::kIcons]["1004.png"], both.handheldIcons[0].second);
    EXPECT_EQ(session.work.merges, 1);
}

// Every handheld message cut in two, the first part arriving alone.
SyncScript SplitEveryAnswer(const SyncScript& script)
{
    SyncScript split;
    for (const SyncStep& step : script) {
        if (step.kind == SyncStep::kHandheld && step.text.size() > 1) {
            split.push_back(HPart(step.text.substr(0, step.text.size() / 2)));
            split.push_back(H(step.text.substr(step.text.size() / 2)));
        } else {
            split.push_back(step);
        }
    }
    return split;
}

TEST(SyncConversation, AnswersSplitOverTwoReceivesChangeNothing)
{
    const BothWays both;
    Session session(SplitEveryAnswer(both.Script()));
    both.Fill(session.work);
    EXPECT_EQ(session.Run(), SyncOutcome::kSucceeded);
    EXPECT_EQ(session.peer.Said(), session.peer.Expected());
    EXPECT_EQ(session.work.received[SyncBatch::kAttachments]["1a.zfa"], both.handheldAttachments[0].second);
}

TEST(SyncConversation, DesktopOverwritesSendsEverythingAndEveryIcon)
{
    const std::string rewritten = Bytes(4096, 'r');
    const Files attachments = {{"2b.zfa", ""}};
    const Files icons = {{"1003.png", "z"}, {"1000.png", "x"}};
    Session session(PhaseOneStart({{kDb, "db"}}) +
                    SyncScript{D("SyncModeDesktopOverides"), H("Ready"), D("SyncFinalize")} +
                    DatabaseOnRequest(rewritten) + DesktopFolder(attachments) +
                    SyncScript{D("OK"), H("SyncSuccess"), H("SendDesktopCustomIcons")} + DesktopFolder(icons) + kEnd);
    session.work.mode = kSyncDesktopOverwrites;
    session.work.toSend[SyncSendSet::kDatabase] = {{kDb, rewritten}};
    session.work.toSend[SyncSendSet::kAttachments] = attachments;
    session.work.toSend[SyncSendSet::kIcons] = icons;
    EXPECT_EQ(session.Run(), SyncOutcome::kSucceeded);
    EXPECT_EQ(session.peer.Said(), session.peer.Expected());
}

struct HintCase {
    const char* sent;
    const char* stored;
};

TEST(SyncConversation, HandheldOverwritesTakesAttachmentsIconsAndTheHint)
{
    const HintCase cases[] = {{"my dog", "my dog"}, {"\r      \r", ""}};
    for (const HintCase& c : cases) {
        const Files attachments = {{"1.zfa", ""}, {"2.zfa", Bytes(4096, 'a')}, {"3.zfa", Bytes(4097, 'b')}};
        Session session(PhaseOneStart({{kDb, "db"}}) + SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} +
                        HandheldBatch(attachments) + SyncScript{D("SyncFinalize"), H("SyncSuccess")} +
                        SyncScript{D("SendiPhoneCustomIcons")} + HandheldBatch({{"1000.png", "p"}}) +
                        SyncScript{D("StartPasswordHintSync"), H("OK"), D("SendPasswordHint"), H(c.sent)} + kEnd);
        session.work.mode = kSyncHandheldOverwrites;
        session.work.wantsHint = true;
        EXPECT_EQ(session.Run(), SyncOutcome::kSucceeded) << c.sent;
        EXPECT_EQ(session.peer.Said(), session.peer.Expected());
        for (const auto& file : attachments) {
            EXPECT_EQ(session.work.received[SyncBatch::kAttachments][file.first], file.second) << file.first;
        }
        EXPECT_EQ(session.work.applied, 1);
        ASSERT_EQ(session.work.hints.size(), 1u);
        EXPECT_EQ(session.work.hints[0], c.stored);
    }
}

struct EndingCase {
    const char* what;
    SyncScript script;
    SyncOutcome outcome;
    void (*setUp)(CMemorySessionWork&);
};

const SyncScript kModeTwoAsk = {D("SyncModeSynchronization"), H("OK"), D("SendNewAndModifiedAttachments")};

TEST(SyncConversation, EachEndingSendsItsCode)
{
    const EndingCase cases[] = {
        {"unreadable", PhaseOneStart({{kDb, "junk"}}) + FailedWith("00000007"), SyncOutcome::kUnreadable,
         [](CMemorySessionWork& w) { w.infoReadable = false; }},
        {"locked", PhaseOneStart({{kDb, "db"}}) + FailedWith("00000005"), SyncOutcome::kFailed,
         [](CMemorySessionWork& w) { w.canSync = false; }},
        {"password",
         PhaseOneStart({{kDb, "db"}}) + kModeTwoAsk + HandheldBatch({}) + SyncScript{H("OK")} + FailedWith("00000001"),
         SyncOutcome::kPasswordMismatch, [](CMemorySessionWork& w) { w.merge = SyncMergeResult::kPasswordMismatch; }},
        {"stop in the first batch",
         SyncScript{D("SendiPhoneDatabase"), H("OK"), D("OK"), H("SyncHasToStop"), D("OK")} + kEnd,
         SyncOutcome::kCancelled, [](CMemorySessionWork&) {}},
        {"stop among attachments",
         PhaseOneStart({{kDb, "db"}}) + kModeTwoAsk + HandheldSendsFile("1.zfa", "a") +
             SyncScript{H("SyncHasToStop"), D("OK")} + kEnd,
         SyncOutcome::kCancelled, [](CMemorySessionWork&) {}},
        {"stop instead of a file",
         PhaseOneStart({{kDb, "db"}}) + kModeTwoAsk + HandheldBatch({}) +
             SyncScript{H("OK"), D("SyncFinalize"), H("OK"), D("OK"), H("Nothing"), D("OK"), D("FileSend"),
                        H("SyncHasToStop")} +
             kEnd,
         SyncOutcome::kCancelled,
         [](CMemorySessionWork& w) {
             w.toSend[SyncSendSet::kAttachments] = {{"1.zfa", "a"}};
         }},
        {"wrong final reply",
         PhaseOneStart({{kDb, "db"}}) + SyncScript{D("SyncModeIphoneOverides"), H("OK"), D("OK")} + HandheldBatch({}) +
             SyncScript{D("SyncFinalize"), H("SyncFailure")} + FailedWith("00000005"),
         SyncOutcome::kFailed, [](CMemorySessionWork& w) { w.mode = kSyncHandheldOverwrites; }},
        {"both ways without the last SyncFinalize",
         PhaseOneStart({{kDb, "db"}}) + kModeTwoAsk + HandheldBatch({}) +
             SyncScript{H("OK"), D("SyncFinalize"), H("OK"), D("OK"), H("No"), D("OK"), D("EndOfFiles"), H("OK"),
                        D("OK"), H("Done")} +
             kEnd,
         SyncOutcome::kSucceeded, [](CMemorySessionWork&) {}},
        {"ignored command in a batch",
         SyncScript{D("SendiPhoneDatabase"), H("OK"), D("OK"), H("Hello"), D("OK")} + HandheldBatch({{kDb, "db"}}) +
             FailedWith("00000005"),
         SyncOutcome::kFailed, [](CMemorySessionWork& w) { w.canSync = false; }},
        {"file that cannot be made", PhaseOneStart({{kDb, Bytes(5000, 'x')}}) + FailedWith("00000005"),
         SyncOutcome::kFailed, [](CMemorySessionWork& w) { w.failCreate = true; }},
        {"file that cannot be written", PhaseOneStart({{kDb, Bytes(9000, 'x')}}) + FailedWith("00000005"),
         SyncOutcome::kFailed, [](CMemorySessionWork& w) { w.failWriteAfter = 4096; }},
    };
    for (const EndingCase& c : cases) {
        Session session(c.script);
        c.setUp(session.work);
        EXPECT_EQ(session.Run(), c.outcome) << c.what;
        EXPECT_EQ(session.peer.Said(), session.peer.Expected()) << c.what;
        EXPECT_EQ(session.wireResult, kSyncWireOk) << c.what;
    }
}

TEST(SyncConversation, UnsafeNamesAreReadAndDroppedAndFailTheSession)
{
    const char* const names[] = {"..\\ZorvikanDatabase.zdb", "..\\1000.png", "C:\\Windows\\x.png", "1000.png.exe"};
    for (const char* name : names) {
        Session session(PhaseOneStart({{kDb, "db"}}) + kModeTwoAsk + HandheldBatch({}) + SyncScript{H("OK")} +
                        SyncScript{D("SyncFinalize"), H("OK"), D("OK"), H("No"), D("OK"), D("EndOfFiles"), H("OK"),
                                   D("OK"), H("SyncFinalize"), D("SendiPhoneCustomIcons")} +
                        HandheldBatch({{"1000.png", "good"}, {name, Bytes(5000, 'e')}, {"1001.png", "late"}}) +
                        FailedWith("00000005"));
        EXPECT_EQ(session.Run(), SyncOutcome::kFailed) << name;
        EXPECT_EQ(session.peer.Said(), session.peer.Expected()) << name;
        // Nothing of the refused file, nor of what followed it, was written.
        const auto& icons = session.work.received[SyncBatch::kIcons];
        EXPECT_EQ(icons.size(), 1u) << name;
        EXPECT_EQ(icons.count("1000.png"), 1u) << name;
    }
}

TEST(SyncConversation, AStreamOutOfStepEndsAtOnceWithoutClosingWords)
{
    const SyncScript start = {D("SendiPhoneDatabase"), H("OK"), D("OK")};
    const SyncScript nameSaid = start + SyncScript{H("FileSend"), D("OK"), H(kDb), D("OK")};
    const struct {
        const char* what;
        SyncScript script;
        int wire;
    } cases[] = {
        {"huge size", nameSaid + SyncScript{H("1000000000")}, kSyncWireOutOfStep},
        {"size over the database limit", nameSaid + SyncScript{H("300000000")}, kSyncWireOutOfStep},
        {"size not a number", nameSaid + SyncScript{H("12x")}, kSyncWireOutOfStep},
        {"over-long command", start + SyncScript{H(std::string(201, 'F'))}, kSyncWireOutOfStep},
        {"over-long name", start + SyncScript{H("FileSend"), D("OK"), H(std::string(600, 'n'))}, kSyncWireOutOfStep},
        {"stall", start, kSyncWireTimedOut},
        {"stall inside the bytes", nameSaid + SyncScript{H("10"), D("OK"), H("12345")}, kSyncWireTimedOut},
        {"hang-up", start + SyncScript{HPart("File"), HClose()}, kSyncWireClosed},
    };
    for (const auto& c : cases) {
        Session session(c.script);
        EXPECT_EQ(session.Run(), SyncOutcome::kFailed) << c.what;
        EXPECT_EQ(session.wireResult, c.wire) << c.what;
        EXPECT_EQ(session.peer.Said(), session.peer.Expected()) << c.what;
        EXPECT_TRUE(session.work.received[SyncBatch::kDatabase].empty() ||
                    session.work.received[SyncBatch::kDatabase][kDb].size() < 10)
            << c.what;
        EXPECT_EQ(session.work.merges, 0) << c.what;
    }
}

TEST(SyncConversation, AHangUpAtAnyStepEndsTheSessionAsFailed)
{
    const BothWays both;
    const SyncScript full = both.Script();
    // The last answer is the ack of "EndConnection", after the outcome.
    size_t lastAnswer = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        if (full[i].kind == SyncStep::kHandheld) lastAnswer = i;
    }
    int cuts = 0;
    for (size_t cut = 0; cut < lastAnswer; ++cut) {
        if (full[cut].kind != SyncStep::kHandheld) continue;
        SyncScript script(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        script.push_back(HClose());
        SyncWireLimits limits;
        limits.sessionMs = 120000;
        Session session(script, limits);
        both.Fill(session.work);
        EXPECT_EQ(session.Run(), SyncOutcome::kFailed) << "cut at step " << cut;
        EXPECT_EQ(session.wireResult, kSyncWireClosed) << "cut at step " << cut;
        EXPECT_EQ(session.peer.Expected().compare(0, session.peer.Said().size(), session.peer.Said()), 0)
            << "cut at step " << cut;
        ++cuts;
    }
    EXPECT_GT(cuts, 30);
}

TEST(SyncConversation, APeerThatNeverEndsABatchMeetsTheSessionLimit)
{
    // Each ignored command is answered at once; only the session's own limit
    // ends the stream of them.
    SyncWireLimits limits;
    limits.quietMs = 20;
    limits.sessionMs = 1000;
    SyncScript script = {D("SendiPhoneDatabase"), H("OK"), D("OK")};
    for (int i = 0; i < 200; ++i) script = script + SyncScript{H("Hello"), D("OK")};
    Session session(script, limits);
    EXPECT_EQ(session.Run(), SyncOutcome::kFailed);
    EXPECT_EQ(session.wireResult, kSyncWireExpired);
    EXPECT_LE(session.peer.Now(), 1000);
}

}  // namespace

namespace {

// Streams made of the protocol's own words, numbers, names and noise, cut
// at random: every session ends (the fake clock bounds every wait) and
// nothing lands under a name its batch does not take.
TEST(SyncConversation, RandomStreamsEndAndWriteOnlyAcceptedNames)
{
    const std::vector<std::string> words = {"OK",
                                            "FileSend",
                                            "EndOfFiles",
                                            "SyncHasToStop",
                                            "SyncSuccess",
                                            "SyncFinalize",
                                            "SendDesktopDatabase",
                                            "SendDesktopCustomIcons",
                                            "ZorvikanDataBase.db",
                                            "1a.zfa",
                                            "1000.png",
                                            "..\\ZorvikanDatabase.zdb",
                                            "0",
                                            "12",
                                            "4097",
                                            "999999999",
                                            "\r      \r",
                                            std::string(300, 'x')};
    uint32_t state = 12345;
    const auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int round = 0; round < 300; ++round) {
        SyncScript script;
        const uint32_t pieces = 1 + next(40);
        for (uint32_t i = 0; i < pieces; ++i) {
            std::string piece = words[next(static_cast<uint32_t>(words.size()))];
            if (next(4) == 0) piece = std::string(1 + next(5000), static_cast<char>(next(256)));
            script.push_back(next(3) == 0 ? HPart(piece) : H(piece));
        }
        if (next(2) == 0) script.push_back(HClose());
        SyncWireLimits limits;
        limits.sessionMs = 60000;
        CScriptedHandheld peer(script);
        CSyncWire wire(peer, limits, [&peer] { return peer.Now(); });
        CMemorySessionWork work;
        work.mode = static_cast<int>(next(3));
        work.toSend[SyncSendSet::kDatabase] = {{"ZorvikanDataBase.db", "db"}};
        work.toSend[SyncSendSet::kAttachments] = {{"1.zfa", std::string(5000, 'a')}};
        CSyncConversation conversation(wire, work);
        conversation.Run();
        EXPECT_LE(peer.Now(), 60000) << round;
        for (const auto& batch : work.received) {
            for (const auto& file : batch.second) {
                EXPECT_TRUE(IsAcceptedSyncFileName(batch.first, file.first)) << round << " " << file.first;
            }
        }
    }
}

}  // namespace
