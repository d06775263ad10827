#include "sync/session/HandheldSession.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/crypto/BlowfishKey.h"
#include "core/items/RecordList.h"
#include "core/os/FileSystemOs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/PasswordVerifier.h"
#include "sync/handheld/HandheldSchema.h"
#include "sync/merge/HandheldMerge.h"
#include "sync/session/HandheldPasswordCheck.h"

// The Windows headers some of the above bring in rename CreateFile; the
// session folder's member was declared before them under its own name.
#ifdef CreateFile
#undef CreateFile
#endif

namespace fs = std::filesystem;

namespace {

fs::path Native(const std::string& path) { return fs::path(zvos::NativePath(path)); }

// The files (not folders) directly in a folder, by name.
std::vector<std::string> FilesIn(const CString& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    const fs::path path = Native(folder.Std());
    if (folder.IsEmpty() || !fs::is_directory(path, error)) return names;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Copies a file over any file at the destination (the run-time library's
// own copy refuses to overwrite on Windows).
bool CopyOver(const fs::path& from, const fs::path& to) { return zvos::CopyFileOverwrite(from.string(), to.string()); }

bool CopyTree(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::create_directories(to, error);
    if (error) return false;
    for (fs::recursive_directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        const fs::path target = to / fs::relative(it->path(), from, error);
        if (error) return false;
        if (it->is_directory(error)) {
            fs::create_directories(target, error);
        } else {
            if (!CopyOver(it->path(), target)) return false;
        }
        if (error) return false;
    }
    return !error;
}

}  // namespace

bool HandheldPasswordFitsNewUser(const std::vector<uint8_t>& crib, const CSecretString& password)
{
    const bool noCrib = std::all_of(crib.begin(), crib.end(), [](uint8_t b) { return b == 0; });
    if (password.IsEmpty()) return noCrib;
    uint8_t verifier[kVerifierSize] = {};
    if (MakeCheckVerifier(password, verifier) != 0) return false;
    return crib.size() == kVerifierSize && VerifiersEqual(crib.data(), verifier);
}

CHandheldSession::CHandheldSession(ISyncSessionHost& host) : m_host(host) {}

CHandheldSession::~CHandheldSession() = default;

int CHandheldSession::Begin(const std::string& tempBase)
{
    m_deadline = HandheldClockMs() + m_timeLimitMs;
    return m_folder.Create(tempBase);
}

void CHandheldSession::SetState(int state) { m_host.OnState(state); }

int CHandheldSession::Mode()
{
    // One mode for the whole session, whatever the settings do meanwhile.
    if (m_mode < 0) m_mode = m_host.Mode();
    return m_mode;
}

std::unique_ptr<ISyncFileWriter> CHandheldSession::CreateReceivedFile(SyncBatch batch, const std::string& name)
{
    return m_folder.CreateFile(batch, name);
}

bool CHandheldSession::CanSync() { return m_host.CanSync(); }

bool CHandheldSession::ReadDatabaseInfo()
{
    // SQLite takes the path as the system does.
    m_reader = OpenHandheldDatabase(CString(zvos::NativePath(m_folder.DatabasePath())));
    if (m_reader) m_reader->SetDeadline(m_deadline);
    if (!m_reader || !m_reader->HasDatabase() || m_reader->ReadInfo(m_info) != kHandheldOk) {
        m_reader.reset();
        SetState(kSyncStateUnreadable);
        return false;
    }
    m_infoRead = true;
    m_host.OnUserName(m_info.userName, m_info.userId);
    return true;
}

SyncMergeResult CHandheldSession::CheckPasswordAndMerge()
{
    if (!m_reader) return SyncMergeResult::kFailed;
    // The password first: nothing of the desktop changes for a stranger.
    SyncUserPlace place;
    const bool known = m_host.FindUser(m_info.userName, m_info.userId, place);
    // A database file where a new user would keep it is checked as a known
    // user's: the session never writes into it under another password.
    std::error_code error;
    const bool hasFile = !place.databasePath.IsEmpty() && fs::exists(Native(place.databasePath.Std()), error);
    const bool matches = known || hasFile
                             ? HandheldPasswordMatches(place.databasePath, m_info.passwordCrib, m_info.password)
                             : HandheldPasswordFitsNewUser(m_info.passwordCrib, m_info.password);
    if (!matches) {
        SetState(kSyncStateMismatch);
        return SyncMergeResult::kPasswordMismatch;
    }
    if (!m_host.AdoptUser(m_info.userName, m_info.userId, m_place)) return SyncMergeResult::kFailed;

    SetState(kSyncStateComparing);
    if (!BackUpUserData()) return SyncMergeResult::kFailed;
    m_host.BeforeMerge();
    const BlowfishKeyPtr key = m_info.password.IsEmpty() ? nullptr : MakeBlowfishKey(m_info.password);
    if (!m_info.password.IsEmpty() && !key) return SyncMergeResult::kFailed;

    CDatabaseObj desktop;
    int result = desktop.Load(m_place.databasePath, key.get());
    // A database made just now for a new user takes the handheld's password.
    if (result == 0 && !m_hadDatabase && key) {
        uint8_t verifier[kVerifierSize] = {};
        result = MakePasswordVerifier(m_info.password, verifier);
        if (result == 0) result = desktop.SaveWithVerifier(verifier, key.get());
    }
    if (result == 0) {
        HandheldMergeSetup setup;
        setup.mode = Mode();
        setup.desktopKey = key.get();
        setup.attachmentsFolder = m_place.attachmentsFolder;
        setup.receivedAttachments = CString(m_folder.AttachmentsFolder());
        setup.handheldDatabasePath = CString(zvos::NativePath(m_folder.DatabasePath()));
        setup.handheldPassword = m_info.password;
        setup.deadlineMs = m_deadline;
        setup.onState = [this](int state) { SetState(state); };
        result = MergeHandheldDatabase(desktop, *m_reader, m_table, setup);
    }
    m_reader.reset();
    if (result != 0) {
        RestoreUserData();
        m_host.AfterMerge();
        return SyncMergeResult::kFailed;
    }
    m_recordIds.clear();
    for (POSITION pos = desktop.GetRecords().GetHeadPosition(); pos;) {
        const CBaseItem* record = static_cast<const CBaseItem*>(desktop.GetRecords().GetNext(pos));
        m_recordIds.insert(static_cast<uint32_t>(record->GetId()));
    }
    m_merged = true;
    m_host.AfterMerge();
    SetState(kSyncStateMerged);
    return SyncMergeResult::kMerged;
}

bool CHandheldSession::BackUpUserData()
{
    const fs::path backup = Native(m_folder.Path() + "\\Backup");
    std::error_code error;
    fs::create_directories(backup / "Files", error);
    if (error) return false;
    m_hadDatabase = fs::exists(Native(m_place.databasePath.Std()), error);
    if (m_hadDatabase) {
        if (!CopyOver(Native(m_place.databasePath.Std()), backup / "database")) return false;
    }
    m_hadAttachments = fs::is_directory(Native(m_place.attachmentsFolder.Std()), error);
    if (m_hadAttachments && !CopyTree(Native(m_place.attachmentsFolder.Std()), backup / "Files")) return false;
    m_backedUp = true;
    return true;
}

void CHandheldSession::RestoreUserData()
{
    if (!m_backedUp) return;
    m_backedUp = false;
    const fs::path backup = Native(m_folder.Path() + "\\Backup");
    std::error_code error;
    if (m_hadDatabase) {
        CopyOver(backup / "database", Native(m_place.databasePath.Std()));
    } else {
        // A database the session made goes again.
        fs::remove(Native(m_place.databasePath.Std()), error);
    }
    const fs::path files = Native(m_place.attachmentsFolder.Std());
    fs::remove_all(files, error);
    if (m_hadAttachments) CopyTree(backup / "Files", files);
}

std::vector<std::string> CHandheldSession::ListFiles(SyncSendSet set)
{
    switch (set) {
    case SyncSendSet::kDatabase: {
        std::error_code error;
        if (!fs::exists(Native(m_folder.DatabasePath()), error)) return {};
        return {kHandheldDatabaseFileName};
    }
    case SyncSendSet::kAttachments: return FilesIn(m_place.attachmentsFolder);
    case SyncSendSet::kIcons: return FilesIn(m_place.iconsFolder);
    }
    return {};
}

std::unique_ptr<ISyncFileReader> CHandheldSession::OpenFileToSend(SyncSendSet set, const std::string& name)
{
    // Only names of the listings, never a path.
    if (name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..") return nullptr;
    switch (set) {
    case SyncSendSet::kDatabase: return OpenSyncFileReader(m_folder.DatabasePath());
    case SyncSendSet::kAttachments: return OpenSyncFileReader(m_place.attachmentsFolder.Std() + "\\" + name);
    case SyncSendSet::kIcons: return OpenSyncFileReader(m_place.iconsFolder.Std() + "\\" + name);
    }
    return nullptr;
}

bool CHandheldSession::ApplyHandheldAttachments()
{
    if (!m_merged) return false;
    return m_replacement.Replace(m_place.attachmentsFolder.Std(), m_folder.AttachmentsFolder(), m_recordIds) == 0;
}

bool CHandheldSession::WantsPasswordHint() { return m_host.WantsPasswordHint(); }

void CHandheldSession::StorePasswordHint(const std::string& hint) { m_host.StorePasswordHint(CString(hint)); }

bool CHandheldSession::InstallReceivedIcons()
{
    const std::vector<std::string> names = FilesIn(CString(m_folder.IconsFolder()));
    if (names.empty()) return true;
    std::error_code error;
    fs::create_directories(Native(m_place.iconsFolder.Std()), error);
    bool ok = !error;
    for (const std::string& name : names) {
        if (!CopyOver(Native(m_folder.IconsFolder() + "\\" + name), Native(m_place.iconsFolder.Std() + "\\" + name)))
            ok = false;
    }
    return ok;
}

void CHandheldSession::Finish(SyncOutcome outcome)
{
    m_reader.reset();
    if (outcome == SyncOutcome::kSucceeded) {
        m_replacement.Commit();
        if (m_merged) InstallReceivedIcons();
        SetState(kSyncStateSucceeded);
        SetState(kSyncStateFinishing);
    } else {
        // The desktop keeps what it had before the session.
        m_replacement.Rollback();
        if (m_merged) RestoreUserData();
        if (outcome == SyncOutcome::kCancelled) SetState(kSyncStateCancelled);
    }
    m_host.SessionEnded(outcome, m_merged);
    m_folder.Remove();
}
