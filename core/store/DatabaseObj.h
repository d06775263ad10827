#pragma once
// CDatabaseObj: one user's record store in memory (records, types,
// categories, the password verifier and a small header), bound to one
// database file "ZorvikanDatabase.zdb". The whole file is loaded and saved at
// once under the named database mutex that the desktop program and the
// browser plug-in share.
//
// File (numbers little-endian): 40-byte verifier, header long, format
// version (so it lies at offset 44), header text (an archive string; only in
// files of version 5 and later), header word, header long 2, header long 3,
// then the records, types and categories as object lists of the archive.
//
// Saving writes a complete new file beside the old one and moves it into
// place in one step, so a failed or interrupted save leaves the old file. A
// file that exists but cannot be read is reported, never replaced by a new
// database; after a failed load the object refuses to save until a load
// succeeds.
#include <cstdint>
#include <string>

#include "core/crypto/Blowfish.h"
#include "core/items/RecordList.h"
#include "core/items/ShowColumns.h"
#include "core/items/UniqueList.h"
#include "framework/CObject.h"
#include "framework/CString.h"

class CArchive;
class CNotifyProviderList;
class CMergeProgress;
class CRecord;

// The format this build writes, and the newest one it reads.
constexpr int16_t kDatabaseFormatVersion = 7;

// What a load found wrong with a file that it could still read
// (CDatabaseObj::GetLoadDamage, bits).
enum LoadDamage : unsigned {
    // Items whose checksum does not match their bytes: read as far as they
    // go and marked (CBaseItem::HasBadChecksum). A key that is not the
    // file's reads every item this way.
    kLoadDamageChecksum = 1,
    // Bytes after the last list: items that a damaged count left unread.
    kLoadDamageTrailingBytes = 2,
    // Types or categories that share a key: the later ones in the file got
    // new keys (CUniqueList::MakeKeysUnique).
    kLoadDamageDuplicateKeys = 4,
};
// Load's answer when the key given is not the one of the file's password
// verifier: the system's "invalid password" code.
constexpr int kDatabaseWrongKey = 86;
// Load and save wait this long for the database mutex.
constexpr uint32_t kDatabaseWaitMs = 10000;

class CMemFile;

class CDatabaseObj : public CObject {
    DECLARE_SERIAL(CDatabaseObj)

public:
    CDatabaseObj();
    ~CDatabaseObj() override;

    // Deletes every item; with resetHeader also zeroes verifier and header
    // and sets the format version to 7. Returns 0.
    int Clear(bool resetHeader);

    // Reads the file into this object, packing under the master password's
    // key as it is now, or under the key given (null: plain). Only a file
    // that does not exist becomes a new database (with the default types and
    // categories unless the platform declines them) and is saved at once.
    // A file of an older version is read and rewritten as version 7. A
    // read-only object writes neither (a missing file then gives -1).
    // 0; -1 when the mutex was not had within 10 s, the file is corrupt or
    // cut short, or of a newer version; kDatabaseWrongKey when a key is given
    // and the file's verifier is another key's (a file without a verifier
    // is read under any key); the system's error code when it
    // cannot be opened or read; or the result of saving a new database. On
    // failure the object is empty and refuses to save until a load succeeds.
    //
    // A file that can be read but shows damage loads as far as it goes,
    // with 0, and GetLoadDamage tells what was wrong. Before anything is
    // written over a damaged file or an older version's file, a copy of the
    // file as read is kept beside it (GetLoadCopyPath); while that copy
    // cannot be written, no upgrade is written and every save fails with the
    // copy's error. A successful load also removes the temporary file a
    // killed save left (not for a read-only object).
    int Load(const CString& filePath);
    int Load(const CString& filePath, const BlowfishContext* key);
    // The file "ZorvikanDatabase.zdb" in the folder (created with all its
    // missing levels), then Load.
    int OpenInFolder(const CString& folder);

    // Writes the whole file under the master password's key, or the key
    // given (null: plain). flag has no effect. 0; -1 when read-only, not
    // loaded successfully, without a path, when the mutex was not had within
    // 10 s or an item could not be packed; else the system's error code of
    // the failure. The old file is untouched unless 0 is returned.
    int Save(int flag = 0);
    int Save(int flag, const BlowfishContext* key);
    // A password change: stores the verifier and saves under the key; when
    // the save fails the old verifier is put back. The save's result.
    int SaveWithVerifier(const uint8_t verifier[40], const BlowfishContext* key);

    const CString& GetFilePath() const { return m_filePath; }
    void SetFilePath(const CString& path) { m_filePath = path; }
    void SetReadOnly() { m_readOnly = true; }
    void ClearReadOnly() { m_readOnly = false; }
    bool IsReadOnly() const { return m_readOnly; }
    // False after a failed load (or an incomplete Serialize): saving would
    // overwrite a file that was not read. Only a load that succeeds makes
    // the object saveable again; Clear and SetFilePath do not.
    bool CanSave() const { return !m_loadFailed; }
    // What the last load or read found wrong (LoadDamage bits); 0 for a whole
    // file and after a failed load.
    unsigned GetLoadDamage() const { return m_loadDamage; }
    // How many items of the last load failed their checksum.
    int GetBadChecksumCount() const { return m_badChecksums; }
    // The copy of the file kept by the last load: of a damaged file
    // ("<file>.damaged-YYYY-MM-DD"), else of an older version's file before
    // its upgrade ("<file>.v4.bak"); "-2", "-3" ... follow the stem when the
    // name was taken. Empty when none was kept (also while it could not be
    // written: a save makes it first).
    const CString& GetLoadCopyPath() const { return m_loadCopyPath; }

    // Merges the database file at otherPath, read and written under
    // otherKey (null: no password), with this one (core/DatabaseMerge.h):
    // direction 0 this into the other file, 1 the other file into this, 2
    // both ways; rule 0 this wins a conflict, 1 the other file, 2 the later
    // change. Only the target side changes. 0; else the failure (the other
    // file unreadable, locked or missing for direction 1, kMergeWrongKey for
    // a key that does not open it, a failed save) with no file written
    // before it. The process-wide key is never touched.
    int MergeWithFile(const CString& otherPath, int direction, int rule, const BlowfishContext* otherKey,
                      CMergeProgress* progress);
    // Whether the last MergeWithFile wrote the other file. A both-ways merge
    // that then failed to save this database answers an error and true: the
    // other file holds the merge and this one does not, which the user must
    // be told. Once this database's file is written, its items in memory are
    // those of the file even when a later step fails.
    bool MergeWroteOtherFile() const { return m_mergeWroteOther; }

    // Saves, creates the folder (one level) when missing and moves the file
    // there, adopting the new path. 0, the save's error, or the system's.
    int MoveToFolder(const CString& folder);

    // Items.
    CRecordList& GetRecords() { return m_records; }
    CTypesList& GetTypes() { return m_types; }
    CCategoryList& GetCategories() { return m_categories; }
    const CRecordList& GetRecords() const { return m_records; }
    const CTypesList& GetTypes() const { return m_types; }
    const CCategoryList& GetCategories() const { return m_categories; }

    // Deletes the record's attachment file; the record stays as a tombstone.
    void DeleteRecord(CRecord* record);
    // Records of the type (category) lose it and are marked modified; then
    // the type (category) is soft-deleted.
    void DeleteType(CBaseItem* type);
    void DeleteCategory(CBaseItem* category);
    void SetColumnsForAllTypes(const CShowColumns& columns);
    // The item with that id of the kind (0 records, 1 types, 2 categories,
    // -1 all three: types, categories, records); null when none.
    CBaseItem* FindItemById(int32_t id, int kind) const;
    // The same, removed from its list; the caller owns it.
    CBaseItem* DetachItem(int kind, int32_t id);
    // The saved state of an item: the file is loaded into a temporary object
    // and the item detached from it (the caller owns it); null when the load
    // fails or there is no such item.
    CBaseItem* LoadItemFromFile(int kind, int32_t id);
    // Puts the saved state of the live item back; the live item, or null.
    CBaseItem* RevertItem(int kind, int32_t id);

    // A record from one line of imported columns: strings[0] names its type
    // ("Unfiled" or empty for none; a missing type is made with the default
    // labels, and "Web Logins" with its fixed key when no type holds it),
    // the next ten are its fields and the non-empty rest its notes, joined by
    // CR LF. A category name that is not empty or "Unfiled" names its
    // category, made when missing. An icon of 255 takes the type's icon. A
    // custom label equal to the type's label is not kept.
    // Everything made is marked modified and gets an "added" notice. The new
    // record (owned by the list), or null when it cannot be made.
    CRecord* ImportRecord(const CStringArray& strings, WORD hiddenMask, const CStringArray& customLabels,
                          const CString& categoryName, WORD icon, CNotifyProviderList* notices);

    // Verifier and header.
    const uint8_t* GetVerifier() const { return m_verifier; }
    void SetVerifier(const uint8_t verifier[40]);
    bool VerifierEquals(const uint8_t verifier[40]) const;
    int16_t GetFormatVersion() const { return m_formatVersion; }
    int32_t GetHeaderLong() const { return m_headerLong; }
    int16_t GetHeaderWord() const { return m_headerWord; }
    int32_t GetHeaderLong2() const { return m_headerLong2; }
    int32_t GetHeaderLong3() const { return m_headerLong3; }
    const CString& GetHeaderText() const { return m_headerText; }

    // The file's fields in both directions; items are packed and unpacked
    // under the key of the thread's item key scope. Loading throws
    // CArchiveException for a version newer than 7 or below 1; the object is
    // saveable afterwards only when everything was read. Loading also sets
    // GetLoadDamage (and gives repeated keys new ones).
    void Serialize(CArchive& ar) override;

private:
    CDatabaseObj(const CDatabaseObj&) = delete;
    CDatabaseObj& operator=(const CDatabaseObj&) = delete;

    // Load without the mutex, into this (empty) object.
    int ReadFile(const CString& filePath, const BlowfishContext* key, bool& missing);
    // Save without the checks of Save.
    int WriteFile(const BlowfishContext* key);
    // Moves every item and the header of other into this object.
    void TakeContents(CDatabaseObj& other);
    // The items of the three lists, written to memory under the key, and
    // put back in place of the lists' items: a failed merge leaves this
    // database as it was. 0 on success.
    int SnapshotItems(CMemFile& into, const BlowfishContext* key);
    // The merge of the loaded other database into this one and the saves.
    // wroteThis: set once this database's file is written.
    int MergeAndSave(CDatabaseObj* theirs, const CString& otherPath, int direction, int rule,
                     const BlowfishContext* otherKey, const BlowfishContext* ownKey, CMergeProgress* progress,
                     bool& wroteThis);
    int RestoreItems(CMemFile& from, const BlowfishContext* key);
    void ReadTypesOfOldVersion(CArchive& ar);
    // Notes what a read found wrong once all of it was read.
    void CheckLoadedContents(CArchive& ar);
    // After a load of the file at path: the copy that must be kept before it
    // is written over, made at once unless read-only.
    void PrepareLoadCopy(const CString& path);
    // Writes the copy still owed, if any: 0 or its error.
    int KeepLoadCopy();

    uint8_t m_verifier[40] = {};
    int32_t m_headerLong = 0;
    int16_t m_formatVersion = kDatabaseFormatVersion;
    int16_t m_headerWord = 0;
    int32_t m_headerLong2 = 0;
    int32_t m_headerLong3 = 0;
    CString m_headerText;
    CTypesList m_types;
    CRecordList m_records;
    CCategoryList m_categories;
    CString m_filePath;
    bool m_readOnly = false;
    bool m_loadFailed = false;
    unsigned m_loadDamage = 0;
    int m_badChecksums = 0;
    CString m_loadCopyPath;
    bool m_mergeWroteOther = false;
    // A copy owed before the next write: where it goes and the file's bytes
    // (read when it is made, for a read-only object).
    struct OwedCopy {
        bool owed = false;
        CString source, stem, ext;
        std::string bytes;
    } m_owedCopy;
};

// While one lives, new items of the database draw their ids against one
// index of the ids of its records, types and categories instead of walking
// the three lists for every id (an import adding thousands of records).
// Items must be added only through the lists' NewItem while it lives.
class CDatabaseIdIndexScope {
public:
    explicit CDatabaseIdIndexScope(CDatabaseObj& db);
    ~CDatabaseIdIndexScope();
    CDatabaseIdIndexScope(const CDatabaseIdIndexScope&) = delete;
    CDatabaseIdIndexScope& operator=(const CDatabaseIdIndexScope&) = delete;

private:
    CDatabaseObj& m_db;
    CObjectList::IdIndex m_ids;
};

// While one lives, the database's types and categories are found by name
// and key through an index of each list, and new ones take their place in
// name order through it (an import making thousands of them). Types and
// categories may only be added while it lives; a removal ends the index.
class CDatabaseNameIndexScope {
public:
    explicit CDatabaseNameIndexScope(CDatabaseObj& db);
    ~CDatabaseNameIndexScope();
    CDatabaseNameIndexScope(const CDatabaseNameIndexScope&) = delete;
    CDatabaseNameIndexScope& operator=(const CDatabaseNameIndexScope&) = delete;

private:
    CDatabaseObj& m_db;
    CObjectList::NameIndex m_types;
    CObjectList::NameIndex m_categories;
};

// A new type named "Web Logins" takes the built-in type's fixed key when no
// item of the types list (deleted ones included) holds it.
void GiveWebLoginsKey(const CObjectList& types, CBaseItem& type);

// The 16-bit value at offset 44 of the file; 0xFFFF when it cannot be read.
int ReadDatabaseFileVersion(const CString& filePath);

// Binds the database object to the user folder's "ZorvikanDatabase.zdb" and
// reads that file's verifier (ReadPasswordVerifier: 0, kVerifierNoFile for
// a missing file, or the error; out all zero unless 0).
int ReadUserDbVerifier(uint8_t out[40], CDatabaseObj& db, const CString& userFolder);
