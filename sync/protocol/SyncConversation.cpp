#include "sync/protocol/SyncConversation.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

// Receive limits of the texts the handheld sends.
const size_t kReplyLimit = 31;
const size_t kSizeLimit = 49;
const size_t kHintLimit = 199;
const size_t kCommandLimit = 200;
const size_t kNameLimit = 511;
const size_t kChunk = 4096;

// Carriage return, six spaces, carriage return: the handheld has no hint.
const char kNoHintMarker[] = "\r      \r";

}  // namespace

const char* SyncFailureCode(SyncOutcome outcome)
{
    switch (outcome) {
    case SyncOutcome::kPasswordMismatch: return "00000001";
    case SyncOutcome::kUnreadable: return "00000007";
    case SyncOutcome::kFailed: return "00000005";
    default: return nullptr;
    }
}

int CSyncConversation::Track(int result)
{
    if (result < 0 && m_wireResult == kSyncWireOk) m_wireResult = result;
    return result;
}

int CSyncConversation::Say(const std::string& text) { return Track(m_wire.SendText(text)); }

int CSyncConversation::Ack() { return Track(m_wire.ReadAck()); }

int CSyncConversation::SayAndAck(const std::string& text)
{
    if (int result = Say(text)) return result;
    return Ack();
}

int CSyncConversation::ReadReply(const std::string& expected, bool& matched)
{
    int which = -1;
    std::string other;
    const int result = Track(m_wire.ReadToken({expected}, kReplyLimit, which, other));
    matched = result == kSyncWireOk && which == 0;
    return result;
}

SyncOutcome CSyncConversation::Run()
{
    const SyncOutcome outcome = RunPhases();
    EndSession(outcome);
    return outcome;
}

SyncOutcome CSyncConversation::RunPhases()
{
    SyncOutcome outcome = SyncOutcome::kFailed;
    int result = PhaseOne(outcome);
    if (result == 0) result = FinishByMode();
    if (result == 0) return SyncOutcome::kSucceeded;
    if (result == kStopped) return SyncOutcome::kCancelled;
    return result == kRejected ? outcome : SyncOutcome::kFailed;
}

int CSyncConversation::PhaseOne(SyncOutcome& outcome)
{
    outcome = SyncOutcome::kFailed;
    if (int result = SayAndAck("SendiPhoneDatabase")) return result;
    if (int result = Say("OK")) return result;
    if (int result = ReceiveFiles(SyncBatch::kDatabase)) return result;
    if (!m_work.CanSync()) return kRejected;
    if (!m_work.ReadDatabaseInfo()) {
        outcome = SyncOutcome::kUnreadable;
        return kRejected;
    }
    const int mode = m_work.Mode();
    if (mode == kSyncHandheldOverwrites) {
        if (int result = SayAndAck("SyncModeIphoneOverides")) return result;
        if (int result = Say("OK")) return result;
        if (int result = ReceiveFiles(SyncBatch::kAttachments)) return result;
    } else if (mode == kSyncBothWays) {
        if (int result = SayAndAck("SyncModeSynchronization")) return result;
        if (int result = Say("SendNewAndModifiedAttachments")) return result;
        if (int result = ReceiveFiles(SyncBatch::kAttachments)) return result;
        if (int result = Ack()) return result;
    }
    switch (m_work.CheckPasswordAndMerge()) {
    case SyncMergeResult::kMerged: return 0;
    case SyncMergeResult::kPasswordMismatch: outcome = SyncOutcome::kPasswordMismatch; return kRejected;
    case SyncMergeResult::kFailed: return kRejected;
    }
    return kRejected;
}

int CSyncConversation::FinishByMode()
{
    switch (m_work.Mode()) {
    case kSyncDesktopOverwrites: return FinishDesktopOverwrites();
    case kSyncHandheldOverwrites: return FinishHandheldOverwrites();
    case kSyncBothWays: return FinishBothWays();
    }
    return kRejected;
}

int CSyncConversation::FinishDesktopOverwrites()
{
    if (int result = Say("SyncModeDesktopOverides")) return result;
    // Its reply is not examined.
    std::string reply;
    if (int result = Track(m_wire.ReadText(kReplyLimit, reply))) return result;
    if (int result = Say("SyncFinalize")) return result;
    if (int result = SendDatabaseOnRequest()) return result;
    if (int result = SendFolder(SyncSendSet::kAttachments, m_work.ListFiles(SyncSendSet::kAttachments))) {
        return result;
    }
    if (int result = Say("OK")) return result;
    bool success = false;
    if (int result = ReadReply("SyncSuccess", success)) return result;
    if (!success) return kRejected;
    return SyncCustomIcons(kSyncDesktopOverwrites);
}

int CSyncConversation::FinishHandheldOverwrites()
{
    if (int result = Say("SyncFinalize")) return result;
    bool success = false;
    if (int result = ReadReply("SyncSuccess", success)) return result;
    if (!success) return kRejected;
    if (!m_work.ApplyHandheldAttachments()) return kRejected;
    if (int result = SyncCustomIcons(kSyncHandheldOverwrites)) return result;
    if (m_work.WantsPasswordHint()) return SyncPasswordHint();
    return 0;
}

int CSyncConversation::FinishBothWays()
{
    if (int result = SayAndAck("SyncFinalize")) return result;
    if (int result = Say("OK")) return result;
    if (int result = SendDatabaseOnRequest()) return result;
    if (int result = SendFolder(SyncSendSet::kAttachments, m_work.ListFiles(SyncSendSet::kAttachments))) {
        return result;
    }
    if (int result = Say("OK")) return result;
    bool finalize = false;
    if (int result = ReadReply("SyncFinalize", finalize)) return result;
    // Another last reply still counts as success, without the icons.
    return finalize ? SyncCustomIcons(kSyncBothWays) : 0;
}

int CSyncConversation::SyncCustomIcons(int mode)
{
    if (mode != kSyncDesktopOverwrites) {
        if (int result = Say("SendiPhoneCustomIcons")) return result;
        if (int result = ReceiveFiles(SyncBatch::kIcons)) return result;
    }
    if (mode == kSyncHandheldOverwrites) return 0;
    bool wanted = false;
    if (int result = ReadReply("SendDesktopCustomIcons", wanted)) return result;
    if (!wanted) return 0;
    const std::vector<std::string> names = m_work.ListFiles(SyncSendSet::kIcons);
    if (mode == kSyncDesktopOverwrites) return SendFolder(SyncSendSet::kIcons, names);
    // Both ways: the custom icons numbered from 1000 up to the first gap.
    const std::set<std::string> present(names.begin(), names.end());
    for (int number = 1000;; ++number) {
        const std::string name = std::to_string(number) + ".png";
        if (present.count(name) == 0) break;
        if (int result = SendOneFile(SyncSendSet::kIcons, name)) return result;
    }
    return SayAndAck("EndOfFiles");
}

int CSyncConversation::SyncPasswordHint()
{
    if (int result = SayAndAck("StartPasswordHintSync")) return result;
    if (int result = Say("SendPasswordHint")) return result;
    std::string hint;
    if (int result = Track(m_wire.ReadText(kHintLimit, hint))) return result;
    m_work.StorePasswordHint(hint == kNoHintMarker ? std::string() : hint);
    return 0;
}

void CSyncConversation::EndSession(SyncOutcome outcome)
{
    // A lost or untrusted stream gets no closing words: the peer would take
    // them for something else.
    if (m_wireResult != kSyncWireOk) return;
    if (const char* code = SyncFailureCode(outcome)) {
        if (SayAndAck("SyncFailed") || SayAndAck(code)) return;
    }
    SayAndAck("EndConnection");
}

int CSyncConversation::ReceiveFiles(SyncBatch batch)
{
    static const std::vector<std::string> commands = {"FileSend", "EndOfFiles", "SyncHasToStop"};
    bool rejected = false;
    for (;;) {
        int which = -1;
        std::string other;
        if (int result = Track(m_wire.ReadToken(commands, kCommandLimit, which, other))) return result;
        if (int result = Say("OK")) return result;
        if (which == 1) break;
        if (which == 2) return kStopped;
        if (which == 0) {
            if (int result = ReceiveNamedFile(batch, rejected)) return result;
        }
        // Any other command is ignored.
    }
    return rejected ? kRejected : 0;
}

int CSyncConversation::ReceiveNamedFile(SyncBatch batch, bool& rejected)
{
    std::string name;
    const auto nameComplete = [batch](const std::string& text) { return IsAcceptedSyncFileName(batch, text); };
    if (int result = Track(m_wire.ReadText(kNameLimit, name, nameComplete))) return result;
    if (int result = Say("OK")) return result;
    std::unique_ptr<ISyncFileWriter> writer;
    // After one refused file the rest of the batch is read and dropped too.
    if (!rejected && IsAcceptedSyncFileName(batch, name)) writer = m_work.CreateReceivedFile(batch, name);
    if (!writer) rejected = true;

    std::string sizeText;
    if (int result = Track(m_wire.ReadSize(kSizeLimit, sizeText))) return result;
    const int64_t size = ParseSyncFileSize(batch, sizeText);
    // Without a size the file's bytes cannot be told from what follows.
    if (size < 0) return Track(kSyncWireOutOfStep);
    if (int result = Say("OK")) return result;

    uint8_t buffer[kChunk];
    int64_t remaining = size;
    while (remaining > 0) {
        const size_t chunk = static_cast<size_t>(std::min<int64_t>(remaining, kChunk));
        size_t have = 0;
        while (have < chunk) {
            size_t got = 0;
            if (int result = Track(m_wire.ReadSome(buffer + have, chunk - have, got))) return result;
            have += got;
        }
        if (writer && !writer->Write(buffer, chunk)) {
            writer.reset();
            rejected = true;
        }
        if (int result = Say("OK")) return result;
        remaining -= static_cast<int64_t>(chunk);
    }
    if (writer && !writer->Close()) rejected = true;
    return 0;
}

int CSyncConversation::SendDatabaseOnRequest()
{
    bool requested = false;
    {
        int which = -1;
        std::string other;
        if (int result = Track(m_wire.ReadToken({"SendDesktopDatabase"}, kReplyLimit, which, other))) return result;
        requested = which == 0;
    }
    if (int result = Say("OK")) return result;
    if (!requested) return 0;
    if (int result = Ack()) return result;
    const std::vector<std::string> names = m_work.ListFiles(SyncSendSet::kDatabase);
    // A database that cannot be sent would leave the handheld with nothing.
    if (names.size() != 1) return kRejected;
    if (int result = SendOneFile(SyncSendSet::kDatabase, names.front())) return result;
    return SayAndAck("EndOfFiles");
}

int CSyncConversation::SendFolder(SyncSendSet set, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        if (int result = SendOneFile(set, name)) return result;
    }
    return SayAndAck("EndOfFiles");
}

int CSyncConversation::SendOneFile(SyncSendSet set, const std::string& name)
{
    std::unique_ptr<ISyncFileReader> reader = m_work.OpenFileToSend(set, name);
    // A file that went away since the listing is left out.
    if (!reader) return 0;
    const int64_t size = reader->Size();
    if (size < 0 || size > 999999999) return 0;
    if (int result = Say("FileSend")) return result;
    // Any reply but "SyncHasToStop" lets the file go; "OK" is taken at once.
    int which = -1;
    std::string other;
    if (int result = Track(m_wire.ReadToken({"SyncHasToStop", "OK"}, kReplyLimit, which, other))) return result;
    if (which == 0) return kStopped;
    if (int result = SayAndAck(name)) return result;
    if (int result = SayAndAck(std::to_string(size))) return result;
    uint8_t buffer[kChunk];
    int64_t remaining = size;
    while (remaining > 0) {
        const size_t chunk = static_cast<size_t>(std::min<int64_t>(remaining, kChunk));
        // The size is announced: a file that can no longer be read leaves the
        // peer waiting for bytes, so the stream is given up.
        if (!reader->Read(buffer, chunk)) return Track(kSyncWireOutOfStep);
        if (int result = Track(m_wire.SendBytes(buffer, chunk))) return result;
        if (int result = Ack()) return result;
        remaining -= static_cast<int64_t>(chunk);
    }
    return 0;
}
