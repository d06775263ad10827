#include "core/store/DatabaseObj.h"

#include <atomic>
#include <cstring>
#include <new>

#include "core/items/Category.h"
#include "core/store/DatabaseMutex.h"
#include "core/items/DefaultItems.h"
#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/items/ItemPacking.h"
#include "core/store/KeptCopy.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/os/PathUtils.h"
#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "core/items/Record.h"
#include "core/store/ReplacingFile.h"
#include "core/items/TypeItem.h"
#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "framework/CException.h"
#include "framework/CFile.h"

IMPLEMENT_SERIAL(CDatabaseObj, CObject, VERSIONABLE_SCHEMA | 7)

namespace {

std::atomic<uint32_t> g_mutexWaitMs{kDatabaseWaitMs};

// The file goes through the archive in pieces of this size: a 2 MB database
// in 32 system calls rather than 500.
constexpr int kFileBufferSize = 64 * 1024;

int OsErrorOf(const CFileException& e) { return e.m_lOsError > 0 ? static_cast<int>(e.m_lOsError) : -1; }

void DeleteItems(CObList& list)
{
    while (!list.IsEmpty()) delete static_cast<CBaseItem*>(list.RemoveHead());
}

void MoveItems(CObList& from, CObList& to)
{
    while (!from.IsEmpty()) to.AddTail(from.RemoveHead());
}

CObjectList* ListOfKind(CDatabaseObj& db, int kind)
{
    switch (kind) {
    case kItemKindRecord: return &db.GetRecords();
    case kItemKindType: return &db.GetTypes();
    case kItemKindCategory: return &db.GetCategories();
    default: return nullptr;
    }
}

// Records whose type (category) key is the key lose it.
void UnlinkRecords(CRecordList& records, const uint8_t* key, bool category)
{
    static const uint8_t kNull[kUniqueKeySize] = {};
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        CRecord* record = dynamic_cast<CRecord*>(static_cast<CObject*>(records.GetNext(pos)));
        if (!record) continue;
        if (category ? IsSameUniqueKey(record->GetCategoryKey(), key) : IsSameUniqueKey(record->GetTypeKey(), key)) {
            if (category)
                record->SetCategoryKey(kNull);
            else
                record->SetTypeKey(kNull);
            record->SetModified(true);
        }
    }
}

int CountBadChecksums(const CObList& list)
{
    int count = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (static_cast<const CBaseItem*>(list.GetNext(pos))->HasBadChecksum()) ++count;
    return count;
}

}  // namespace

CDatabaseObj::CDatabaseObj()
{
    // The three lists share one id space, so that an id names one item of
    // the database (change notices and FindItemById rely on it).
    m_records.SetSharedIdCheck([this](int32_t id) { return m_types.FindById(id) || m_categories.FindById(id); });
    m_types.SetSharedIdCheck([this](int32_t id) { return m_records.FindById(id) || m_categories.FindById(id); });
    m_categories.SetSharedIdCheck([this](int32_t id) { return m_records.FindById(id) || m_types.FindById(id); });
}

CDatabaseObj::~CDatabaseObj() { Clear(false); }

int CDatabaseObj::Clear(bool resetHeader)
{
    DeleteItems(m_records);
    DeleteItems(m_types);
    DeleteItems(m_categories);
    if (resetHeader) {
        std::memset(m_verifier, 0, sizeof m_verifier);
        m_headerLong = m_headerLong2 = m_headerLong3 = 0;
        m_headerWord = 0;
        m_headerText.Empty();
        m_formatVersion = kDatabaseFormatVersion;
    }
    return 0;
}

uint32_t SetDatabaseMutexWaitMs(uint32_t waitMs) { return g_mutexWaitMs.exchange(waitMs); }

uint32_t DatabaseMutexWaitMs() { return g_mutexWaitMs.load(); }

void CDatabaseObj::SetVerifier(const uint8_t verifier[40]) { std::memcpy(m_verifier, verifier, sizeof m_verifier); }

bool CDatabaseObj::VerifierEquals(const uint8_t verifier[40]) const
{
    return std::memcmp(m_verifier, verifier, sizeof m_verifier) == 0;
}

// ---------------------------------------------------------------- file

int CDatabaseObj::Load(const CString& filePath)
{
    // Held for the whole load, whatever the manager is given meanwhile.
    const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    return Load(filePath, key.get());
}

int CDatabaseObj::Load(const CString& filePath, const BlowfishContext* key)
{
    CDatabaseMutexLock lock(g_mutexWaitMs.load());
    if (!lock.IsLocked()) return -1;

    // Read into a fresh object: nothing half-read ever reaches this one.
    CDatabaseObj fresh;
    bool missing = false;
    int result = fresh.ReadFile(filePath, key, missing);
    // A key that is not the file's reads every item as garbage: refused
    // where the file's verifier can tell (a file saved without one cannot).
    if (result == 0 && key && !VerifierIsZero(fresh.m_verifier)) {
        uint8_t expected[kVerifierSize];
        MakeVerifierWithKey(key, expected);
        if (!VerifiersEqual(expected, fresh.m_verifier)) result = kDatabaseWrongKey;
    }
    Clear(true);
    m_filePath = filePath;
    m_loadCopyPath.Empty();
    m_owedCopy = OwedCopy();
    if (result != 0) {
        // Whatever is wrong with the file, a save must not replace it with
        // this empty object.
        m_loadDamage = 0;
        m_badChecksums = 0;
        m_loadFailed = true;
        return result;
    }
    TakeContents(fresh);
    m_loadFailed = false;

    if (missing) {
        if (!PlatformWantsDefaults()) return 0;
        if (CreateDefaultTypes(m_types) != 0 || CreateDefaultCategories(m_categories) != 0) {
            Clear(true);
            m_loadFailed = true;
            return -1;
        }
        // Saved as Save would: never for a read-only database.
        return m_readOnly ? -1 : WriteFile(key);
    }
    const bool old = m_formatVersion < kDatabaseFormatVersion;
    if (m_loadDamage != 0 || old) PrepareLoadCopy(filePath);
    // Under the mutex no save is under way: a temporary file is a leftover.
    if (!m_readOnly) CReplacingFile::RemoveLeftover(filePath);
    if (old) {
        // Rewrite an old file in the current format at once (not a read-only
        // one), once its copy is kept. When that fails the old file stays
        // and the next save tries again.
        m_formatVersion = kDatabaseFormatVersion;
        if (!m_readOnly) WriteFile(key);
    }
    return 0;
}

void CDatabaseObj::PrepareLoadCopy(const CString& path)
{
    m_owedCopy.owed = true;
    m_owedCopy.source = path;
    if (m_loadDamage != 0) {
        m_owedCopy.stem = DamagedCopyStem();
    } else {
        m_owedCopy.stem = UpgradeCopyStem(m_formatVersion);
        m_owedCopy.ext = kUpgradeCopyExt;
    }
    if (m_readOnly) return;
    // Still under the load's mutex: these are the bytes that were read.
    if (zvos::ReadWholeFile(path.Std(), m_owedCopy.bytes) != 0) m_owedCopy.bytes.clear();
    KeepLoadCopy();
}

int CDatabaseObj::KeepLoadCopy()
{
    OwedCopy& copy = m_owedCopy;
    if (!copy.owed) return 0;
    if (copy.bytes.empty()) {
        // A file that is gone has nothing left to keep.
        if (!zvos::AccessExists(copy.source.Std())) {
            copy = OwedCopy();
            return 0;
        }
        if (zvos::ReadWholeFile(copy.source.Std(), copy.bytes) != 0) {
            copy.bytes.clear();
            return -1;
        }
    }
    const int result = KeepCopyBeside(copy.source, copy.stem, copy.ext, copy.bytes, m_loadCopyPath);
    if (result == 0) copy = OwedCopy();
    return result;
}

int CDatabaseObj::ReadFile(const CString& filePath, const BlowfishContext* key, bool& missing)
{
    missing = false;
    if (filePath.IsEmpty()) return -1;
    CFile file;
    CFileException openError;
    if (!file.Open(zvos::NativePath(filePath.Std()).c_str(),
                   CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &openError)) {
        // Only a file that is not there is a new database; a locked, denied
        // or otherwise unreachable one is an error.
        if (openError.m_cause == CFileException::fileNotFound) {
            missing = true;
            return 0;
        }
        return OsErrorOf(openError);
    }
    int result = 0;
    try {
        CItemKeyScope scope(key);
        CArchive ar(&file, CArchive::load, kFileBufferSize);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (const CFileException& e) {
        result = OsErrorOf(e);
    } catch (const CException&) {
        result = -1;
    } catch (const std::bad_alloc&) {
        result = -1;
    }
    if (result != 0) {
        Clear(true);
        return result;
    }
    m_types.SortByName();
    m_categories.SortByName();
    return 0;
}

void CDatabaseObj::TakeContents(CDatabaseObj& other)
{
    Clear(true);
    std::memcpy(m_verifier, other.m_verifier, sizeof m_verifier);
    m_headerLong = other.m_headerLong;
    m_formatVersion = other.m_formatVersion;
    m_headerWord = other.m_headerWord;
    m_headerLong2 = other.m_headerLong2;
    m_headerLong3 = other.m_headerLong3;
    m_headerText = other.m_headerText;
    m_loadDamage = other.m_loadDamage;
    m_badChecksums = other.m_badChecksums;
    MoveItems(other.m_records, m_records);
    MoveItems(other.m_types, m_types);
    MoveItems(other.m_categories, m_categories);
}

int CDatabaseObj::OpenInFolder(const CString& folder)
{
    const CString path = JoinPath(folder, kDatabaseFileName);
    if (!PathExists(folder)) CreateFolderPath(folder);
    return Load(path);
}

int CDatabaseObj::Save(int flag)
{
    const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    return Save(flag, key.get());
}

int CDatabaseObj::Save(int /*flag*/, const BlowfishContext* key)
{
    if (m_readOnly || m_loadFailed || m_filePath.IsEmpty()) return -1;
    CDatabaseMutexLock lock(g_mutexWaitMs.load());
    if (!lock.IsLocked()) return -1;
    return WriteFile(key);
}

int CDatabaseObj::SaveWithVerifier(const uint8_t verifier[40], const BlowfishContext* key)
{
    uint8_t old[40];
    std::memcpy(old, m_verifier, sizeof old);
    SetVerifier(verifier);
    const int result = Save(0, key);
    if (result != 0) SetVerifier(old);
    return result;
}

int CDatabaseObj::WriteFile(const BlowfishContext* key)
{
    // Nothing is written over a damaged or older file before its copy is kept.
    if (int error = KeepLoadCopy()) return error;
    CReplacingFile out(m_filePath);
    if (int error = out.Open()) return error;
    try {
        CItemKeyScope scope(key);
        CArchive ar(&out.GetFile(), CArchive::store, kFileBufferSize);
        Serialize(ar);
        ar.Close();
    } catch (const CFileException& e) {
        return OsErrorOf(e);  // the new version is dropped, the old file stays
    } catch (const CException&) {
        return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return out.Commit();
}

void CDatabaseObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // Every item is written in the current layout, so the file is too.
        m_formatVersion = kDatabaseFormatVersion;
        ar.Write(m_verifier, sizeof m_verifier);
        ar << m_headerLong << m_formatVersion << m_headerText << m_headerWord << m_headerLong2 << m_headerLong3;
        ar.SetClassSchema(RUNTIME_CLASS(CRecord), kDatabaseFormatVersion);
        ar.SetClassSchema(RUNTIME_CLASS(CTypeItem), kDatabaseFormatVersion);
        ar.SetClassSchema(RUNTIME_CLASS(CCategoryItem), kDatabaseFormatVersion);
        m_records.Serialize(ar);
        m_types.Serialize(ar);
        m_categories.Serialize(ar);
        return;
    }
    // Until everything is read the object holds part of a file: no save.
    m_loadFailed = true;
    m_loadDamage = 0;
    m_badChecksums = 0;
    ar.ReadExact(m_verifier, sizeof m_verifier);
    ar >> m_headerLong >> m_formatVersion;
    if (m_formatVersion < 1 || m_formatVersion > kDatabaseFormatVersion)
        AfxThrowArchiveException(CArchiveException::badSchema);
    if (m_formatVersion > 4) ar >> m_headerText;
    ar >> m_headerWord >> m_headerLong2 >> m_headerLong3;
    m_records.Serialize(ar);
    if (m_formatVersion < 5) {
        ReadTypesOfOldVersion(ar);
        CreateDefaultCategories(m_categories);
    } else {
        m_types.Serialize(ar);
        m_categories.Serialize(ar);
    }
    CheckLoadedContents(ar);
    m_loadFailed = false;
}

void CDatabaseObj::CheckLoadedContents(CArchive& ar)
{
    // A count lowered by damage leaves the items after it unread.
    uint8_t more;
    if (ar.Read(&more, 1) != 0) m_loadDamage |= kLoadDamageTrailingBytes;
    if (m_types.MakeKeysUnique() + m_categories.MakeKeysUnique() > 0) m_loadDamage |= kLoadDamageDuplicateKeys;
    m_badChecksums = CountBadChecksums(m_records) + CountBadChecksums(m_types) + CountBadChecksums(m_categories);
    if (m_badChecksums > 0) m_loadDamage |= kLoadDamageChecksum;
}

void CDatabaseObj::ReadTypesOfOldVersion(CArchive& ar)
{
    // Older files kept their types under another item class: each becomes a
    // CTypeItem with the same state and name; those without a key are dropped.
    const DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
        CObject* object = ar.ReadNewObject(RUNTIME_CLASS(CBaseItem));
        CBaseItem* old = static_cast<CBaseItem*>(object);
        if (!IsNullUniqueKey(old->GetKey())) {
            CTypeItem* type = nullptr;
            try {
                type = new CTypeItem;
                type->CopyFrom(old);
                type->SetId(old->GetId());
                type->SetName(old->GetName());
                type->SetReservedWord(old->GetReservedWord());
                type->SetReservedLong(old->GetReservedLong());
                type->SetAttachmentChanged(old->GetAttachmentChanged());
                m_types.AddTail(type);
            } catch (...) {
                delete type;
                delete old;
                throw;
            }
        }
        delete old;
    }
}

int CDatabaseObj::MoveToFolder(const CString& folder)
{
    if (int result = Save()) return result;
    if (!PathExists(folder)) zvos::MakeDirectory(folder.Std());
    const CString target = JoinPath(folder, kDatabaseFileName);
    CDatabaseMutexLock lock(g_mutexWaitMs.load());
    if (!lock.IsLocked()) return -1;
    try {
        CFile::Rename(zvos::NativePath(m_filePath.Std()).c_str(), zvos::NativePath(target.Std()).c_str());
    } catch (const CFileException& e) {
        return OsErrorOf(e);
    }
    m_filePath = target;
    return 0;
}

// ---------------------------------------------------------------- items

void CDatabaseObj::DeleteRecord(CRecord* record) { m_records.DeleteRecord(record, m_filePath); }

void CDatabaseObj::DeleteType(CBaseItem* type)
{
    if (!type) return;
    UnlinkRecords(m_records, type->GetKey(), false);
    m_types.SoftDelete(type);
}

void CDatabaseObj::DeleteCategory(CBaseItem* category)
{
    if (!category) return;
    UnlinkRecords(m_records, category->GetKey(), true);
    m_categories.SoftDelete(category);
}

void CDatabaseObj::SetColumnsForAllTypes(const CShowColumns& columns)
{
    for (POSITION pos = m_types.GetHeadPosition(); pos;) {
        CTypeItem* type = dynamic_cast<CTypeItem*>(static_cast<CObject*>(m_types.GetNext(pos)));
        if (type) type->GetColumns() = columns;
    }
}

CBaseItem* CDatabaseObj::FindItemById(int32_t id, int kind) const
{
    CDatabaseObj& self = const_cast<CDatabaseObj&>(*this);
    if (kind == -1) {
        for (int k : {kItemKindType, kItemKindCategory, kItemKindRecord})
            if (CBaseItem* item = ListOfKind(self, k)->FindById(id)) return item;
        return nullptr;
    }
    CObjectList* list = ListOfKind(self, kind);
    return list ? list->FindById(id) : nullptr;
}

CBaseItem* CDatabaseObj::DetachItem(int kind, int32_t id)
{
    if (kind == -1) {
        for (int k : {kItemKindType, kItemKindCategory, kItemKindRecord})
            if (CBaseItem* item = ListOfKind(*this, k)->FindOrDetachById(id, true)) return item;
        return nullptr;
    }
    CObjectList* list = ListOfKind(*this, kind);
    return list ? list->FindOrDetachById(id, true) : nullptr;
}

CBaseItem* CDatabaseObj::LoadItemFromFile(int kind, int32_t id)
{
    CDatabaseObj saved;
    if (saved.Load(m_filePath) != 0) return nullptr;
    return saved.DetachItem(kind, id);
}

CBaseItem* CDatabaseObj::RevertItem(int kind, int32_t id)
{
    CBaseItem* saved = LoadItemFromFile(kind, id);
    if (!saved) return nullptr;
    CBaseItem* live = FindItemById(id, kind);
    if (live) {
        // The packed form of a current item was decrypted when it was
        // loaded, but an old one was repacked under the file's key: build it
        // again in plain from what was read, so that it unpacks without one.
        if (saved->PackedSize() >= kPackedHeaderSize + kPackedTailSize) saved->Pack(nullptr);
        live->CopyFrom(saved);
        live->Unpack(nullptr, kDatabaseFormatVersion);
    }
    delete saved;
    return live;
}

int ReadDatabaseFileVersion(const CString& filePath)
{
    CFile file;
    if (!file.Open(zvos::NativePath(filePath.Std()).c_str(),
                   CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return 0xFFFF;
    uint8_t bytes[2];
    try {
        if (file.Seek(44, CFile::begin) != 44 || file.Read(bytes, 2) != 2) return 0xFFFF;
    } catch (const CFileException&) {
        return 0xFFFF;
    }
    return bytes[0] | bytes[1] << 8;
}

int ReadUserDbVerifier(uint8_t out[40], CDatabaseObj& db, const CString& userFolder)
{
    db.SetFilePath(JoinPath(userFolder, kDatabaseFileName));
    return ReadPasswordVerifier(db.GetFilePath(), out);
}

int CDatabaseObj::SnapshotItems(CMemFile& into, const BlowfishContext* key)
{
    // Writing sets the format version to the current one; this object's own
    // stays as read, for the copy of an older file its next save keeps.
    const int16_t version = m_formatVersion;
    try {
        CItemKeyScope scope(key);
        CArchive ar(&into, CArchive::store);
        Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        m_formatVersion = version;
        return -1;
    } catch (const std::bad_alloc&) {
        m_formatVersion = version;
        return -1;
    }
    m_formatVersion = version;
    return 0;
}

int CDatabaseObj::RestoreItems(CMemFile& from, const BlowfishContext* key)
{
    CDatabaseObj before;
    try {
        from.SeekToBegin();
        CItemKeyScope scope(key);
        CArchive ar(&from, CArchive::load);
        before.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
    before.m_types.SortByName();
    before.m_categories.SortByName();
    DeleteItems(m_records);
    DeleteItems(m_types);
    DeleteItems(m_categories);
    MoveItems(before.m_records, m_records);
    MoveItems(before.m_types, m_types);
    MoveItems(before.m_categories, m_categories);
    return 0;
}
