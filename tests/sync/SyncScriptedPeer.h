#pragma once
// A handheld played from a script for the Wi-Fi sync conversation: the
// script lists what the desktop must say (D) and what the handheld answers
// (H) in turn. An answer is released only once the desktop has said
// everything before it, so an early or extra word from the desktop shows up
// as a different transcript. Until then the handheld is silent: a receive
// times out and the fake clock moves on by the time waited.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sync/protocol/SyncSessionWork.h"
#include "sync/protocol/SyncTransport.h"

struct SyncStep {
    enum Kind { kDesktop, kHandheld, kHandheldPart, kClose } kind;
    std::string text;
};

inline SyncStep D(const std::string& text) { return {SyncStep::kDesktop, text}; }
// One send of the handheld. Answers released at the same moment reach the
// desktop glued in one receive.
inline SyncStep H(const std::string& text) { return {SyncStep::kHandheld, text}; }
// Bytes that a receive returns on their own: HPart("File"), H("Send") is
// "FileSend" split over two receives.
inline SyncStep HPart(const std::string& text) { return {SyncStep::kHandheldPart, text}; }
// The handheld closes the connection.
inline SyncStep HClose() { return {SyncStep::kClose, std::string()}; }

using SyncScript = std::vector<SyncStep>;
SyncScript operator+(SyncScript a, const SyncScript& b);

class CScriptedHandheld : public ISyncTransport {
public:
    explicit CScriptedHandheld(SyncScript script);
    int Receive(uint8_t* buffer, size_t size, int timeoutMs) override;
    int Send(const uint8_t* data, size_t size, int timeoutMs) override;

    // What the desktop said, and what the script says it should have.
    const std::string& Said() const { return m_said; }
    std::string Expected() const;
    int64_t Now() const { return m_now; }

private:
    struct Chunk {
        size_t after;  // desktop bytes said before it is released
        std::string bytes;
        bool close;
        bool alone;
    };
    std::vector<Chunk> m_chunks;
    size_t m_next = 0;
    size_t m_offset = 0;
    SyncScript m_script;
    std::string m_said;
    int64_t m_now = 0;
};

// The handheld sending one file: FileSend, name, size, its chunks.
SyncScript HandheldSendsFile(const std::string& name, const std::string& bytes);
// A batch of files from the handheld, "EndOfFiles" included.
SyncScript HandheldBatch(const std::vector<std::pair<std::string, std::string>>& files);
// The desktop sending one file the handheld lets through.
SyncScript DesktopSendsFile(const std::string& name, const std::string& bytes);

using SyncFiles = std::vector<std::pair<std::string, std::string>>;
// The request for the handheld's database and its batch.
SyncScript PhaseOneStart(const SyncFiles& database);
// The desktop sending a folder's files, "EndOfFiles" included.
SyncScript DesktopFolder(const SyncFiles& files);
// The handheld asking for the rewritten database, which the desktop sends.
SyncScript DatabaseOnRequest(const std::string& rewritten);
// "EndConnection", acknowledged.
SyncScript EndConnection();
// A failure code, then "EndConnection".
SyncScript FailedWith(const char* code);

// The session's local work kept in memory.
class CMemorySessionWork : public ISyncSessionWork {
public:
    int mode = kSyncBothWays;
    bool canSync = true;
    bool infoReadable = true;
    SyncMergeResult merge = SyncMergeResult::kMerged;
    bool applyAttachments = true;
    bool wantsHint = false;
    bool failCreate = false;
    // Write fails after this many bytes (-1: never).
    int64_t failWriteAfter = -1;

    std::map<SyncBatch, std::map<std::string, std::string>> received;
    std::map<SyncSendSet, std::vector<std::pair<std::string, std::string>>> toSend;
    std::vector<std::string> hints;
    int merges = 0;
    int applied = 0;

    int Mode() override { return mode; }
    std::unique_ptr<ISyncFileWriter> CreateReceivedFile(SyncBatch batch, const std::string& name) override;
    bool CanSync() override { return canSync; }
    bool ReadDatabaseInfo() override { return infoReadable; }
    SyncMergeResult CheckPasswordAndMerge() override
    {
        ++merges;
        return merge;
    }
    std::vector<std::string> ListFiles(SyncSendSet set) override;
    std::unique_ptr<ISyncFileReader> OpenFileToSend(SyncSendSet set, const std::string& name) override;
    bool ApplyHandheldAttachments() override
    {
        ++applied;
        return applyAttachments;
    }
    bool WantsPasswordHint() override { return wantsHint; }
    void StorePasswordHint(const std::string& hint) override { hints.push_back(hint); }
};
