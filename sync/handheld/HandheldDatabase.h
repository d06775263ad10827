#pragma once
// CHandheldDatabase: one pass over the handheld application's SQLite
// database received during a Wi-Fi sync. The reading pass opens the file
// read-only and fills new item lists (and applies the handheld's edited and
// deleted lists); the writing pass (HandheldDatabaseWrite.cpp) rewrites the
// file from the merged lists inside one transaction.
//
// The file comes from another device and is read as hostile input: its
// schema is checked before any row is stepped (HandheldSchema.h); every
// value is bound, never spliced into SQL; every column is checked; a pass
// that meets anything unexpected returns a HandheldResult and leaves the
// lists it was given as they were.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "sync/handheld/HandheldFieldCipher.h"
#include "sync/handheld/HandheldResult.h"
#include "sync/handheld/SQLiteDBWrapper.h"

class CCategoryList;
class CTypesList;
class CRecordList;
class CRecord;
class CTypeItem;
class CUniqueList;
class CHandheldStatement;
class CiPhoneRecordTable;

// DATABASEINFOTABLE's row.
struct CHandheldDatabaseInfo {
    CString databaseName;
    int64_t version = 0;
    std::vector<uint8_t> passwordCrib;
    // The handheld user's password; wiped when it goes.
    CSecretString password;
    double dateCreated = 0;
    CString userName;
    CString userId;
};

class CHandheldDatabase {
public:
    // Without a database (an empty path) every pass answers kHandheldNoDatabase.
    explicit CHandheldDatabase(std::unique_ptr<CSQLiteDBWrapper> db);
    // Closes (rolling back a write-back that was not committed).
    ~CHandheldDatabase();
    CHandheldDatabase(const CHandheldDatabase&) = delete;
    CHandheldDatabase& operator=(const CHandheldDatabase&) = delete;

    bool HasDatabase() const { return m_db && m_db->HasDatabase(); }
    // Keys the field cipher unless it is keyed or the password is empty.
    void SetFieldPassword(const CSecretString& password) { m_cipher.SetPassword(password); }
    const CHandheldFieldCipher& Cipher() const { return m_cipher; }
    // The desktop database file whose "Files" folder holds the attachment
    // files that ApplyDeletedRecords deletes.
    void SetDatabasePath(const CString& path) { m_databasePath = path; }
    // The moment (HandheldClockMs) after which any statement still running
    // is interrupted and its pass fails; by default a quarter of an hour
    // after the object was made.
    void SetDeadline(int64_t clockMs) { m_deadline = clockMs; }

    // ---- Reading (HandheldDatabase.cpp), each into a new, empty list.

    // The first row of DATABASEINFOTABLE; keys the field cipher with the
    // password when it has one.
    int ReadInfo(CHandheldDatabaseInfo& info);
    int ReadCategories(CCategoryList& categories);
    int ReadTypes(CTypesList& types);
    // Records with at least one field; every row's handheld-only columns go
    // into the sync's table.
    int ReadRecords(CRecordList& records, const CTypesList& types, CiPhoneRecordTable& table);

    // ---- The handheld's edited and deleted lists (HandheldDatabaseApply.cpp).

    // Marks the listed items modified now.
    int ApplyEditedCategories(CUniqueList& categories);
    int ApplyEditedTypes(CUniqueList& types);
    int ApplyEditedRecords(CRecordList& records);
    // Deletes the listed items and unfiles their records (deleted ones too).
    int ApplyDeletedCategories(CUniqueList& categories, CRecordList& records);
    int ApplyDeletedTypes(CUniqueList& types, CRecordList& records);
    // Deletes the listed records and their attachment files.
    int ApplyDeletedRecords(CRecordList& records);

    // ---- Writing (HandheldDatabaseWrite.cpp). BeginWriteBack opens a
    // transaction and empties the ten item tables; each Write adds its rows;
    // CommitWriteBack makes them the file's. Any failure rolls everything
    // back at once and every later call fails, so the file keeps the rows it
    // had. DATABASEINFOTABLE is never written.

    int BeginWriteBack();
    int WriteCategories(const CCategoryList& categories);
    int WriteTypes(const CTypesList& types);
    int WriteRecords(const CRecordList& records, const CTypesList& types, const CCategoryList& categories,
                     const CiPhoneRecordTable& table);
    int WriteDeletedRecordIds(const std::vector<CString>& ids);
    // Commits; then removes the written records' entries from the table.
    int CommitWriteBack(CiPhoneRecordTable& table);

    // Releases the database (rolling back an open write-back) and the cipher.
    void Close();

private:
    int ReadCustomType(CHandheldStatement& statement, CRecord& record, const CTypeItem* type, const CString& uid);
    int ReadUidColumn(const char* sql, std::vector<std::vector<uint8_t>>& uids);
    int ReadIdColumn(const char* sql, std::vector<int32_t>& ids);
    int ApplyEdited(const char* sql, CUniqueList& list);
    int ApplyDeleted(const char* sql, CUniqueList& list, CRecordList& records, bool types);
    // Rolls back and remembers the failure.
    int FailWriteBack(int result);
    // Before the first statement of any pass: the connection guarded and
    // the file's schema checked, once; its result.
    int CheckedSchema();

    std::unique_ptr<CSQLiteDBWrapper> m_db;
    CHandheldFieldCipher m_cipher;
    CString m_databasePath;
    int64_t m_deadline;
    bool m_schemaChecked = false;
    int m_schemaResult = kHandheldOk;
    bool m_writing = false;
    int m_writeResult = kHandheldOk;
    // Item ids and uids the write-back has given rows so far.
    std::vector<int32_t> m_writtenRecordIds;
};

// The reading pass: the received file opened read-only. An empty path gives
// an object without a database.
std::unique_ptr<CHandheldDatabase> OpenHandheldDatabase(const CString& path);
// The writing pass on the same file (read-write, never created), its field
// cipher keyed with the password; the caller then calls BeginWriteBack.
std::unique_ptr<CHandheldDatabase> OpenHandheldDatabaseForWrite(const CString& path, const CSecretString& password);
