#pragma once
// CHandheldStatement: one prepared statement on the handheld database, read
// as hostile input: every column is checked for its count and type before it
// is used, and a read ends at the first step that is not a row.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"
#include "framework/CString.h"
#include "sync/handheld/SQLiteDBWrapper.h"

class CHandheldFieldCipher;

class CHandheldStatement {
public:
    explicit CHandheldStatement(CSQLiteDBWrapper* db) : m_db(db) {}
    // Finalizes the statement.
    ~CHandheldStatement();
    CHandheldStatement(const CHandheldStatement&) = delete;
    CHandheldStatement& operator=(const CHandheldStatement&) = delete;

    // 0, kHandheldNoDatabase, or kHandheldNotReadable when the statement
    // cannot be prepared (a missing table, a damaged or foreign file).
    int Prepare(const char* sql);

    // Reading: 1 for a row with at least minColumns columns, 0 at the end,
    // or a negative result (a failed step, too few columns).
    int NextRow(int minColumns);
    // Writing: steps once; SQLITE_BUSY, SQLITE_LOCKED and SQLITE_CANTOPEN are
    // tried again a few times. 0 when the statement ran to its end, else
    // kHandheldWriteFailed. The statement is then reset for its next use.
    int Execute();
    // Forgets the last row and the bound values.
    void Reset();

    // Column values (from 0). Each answers 0 or kHandheldBadRow for a value
    // of a type the column may not hold.
    // TEXT or NULL: a key as 16 upper-case digits (NULL: the null key).
    int Uid(int column, uint8_t key[kUniqueKeySize]);
    // The same as its text, for looking it up again.
    int UidText(int column, CString& text, bool& isNull);
    // INTEGER or NULL (NULL: 0).
    int Integer(int column, int64_t& value);
    // INTEGER, FLOAT or NULL.
    int Real(int column, double& value);
    // TEXT or NULL, as UTF-16 converted to the ANSI code page.
    int WideText(int column, CString& text);
    // BLOB, TEXT or NULL through the field cipher; see CHandheldFieldCipher.
    int Field(int column, const CHandheldFieldCipher& cipher, CString& value, bool& hasValue);
    // BLOB, TEXT or NULL as raw bytes (null for NULL).
    int Bytes(int column, const void*& data, int& length);

    // Binding (from 1); values are copied. 0, or kHandheldWriteFailed.
    int BindText(int index, const char* text);
    int BindUid(int index, const uint8_t key[kUniqueKeySize]);
    int BindBlob(int index, const std::vector<uint8_t>& blob);
    int BindInt64(int index, int64_t value);
    // The field cipher's BLOB of the text, bound when it is not empty (or
    // always, with always). 0, kHandheldValueTooLong or kHandheldWriteFailed.
    int BindField(int index, const CHandheldFieldCipher& cipher, const CString& text, bool always);

private:
    int TypeOf(int column);

    CSQLiteDBWrapper* m_db;
    sqlite3_stmt* m_statement = nullptr;
    int m_columns = 0;
};
