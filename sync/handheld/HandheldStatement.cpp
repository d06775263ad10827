#include "sync/handheld/HandheldStatement.h"

#include "sync/handheld/HandheldEncoding.h"
#include "sync/handheld/HandheldFieldCipher.h"
#include "sync/handheld/HandheldResult.h"

namespace {
// How often a write step that found the file busy or not openable is tried.
const int kWriteAttempts = 3;
}  // namespace

CHandheldStatement::~CHandheldStatement()
{
    if (m_statement) m_db->Finalize(m_statement);
}

int CHandheldStatement::Prepare(const char* sql)
{
    if (!m_db || !m_db->HasDatabase()) return kHandheldNoDatabase;
    if (m_statement) {
        m_db->Finalize(m_statement);
        m_statement = nullptr;
    }
    int result = m_db->Prepare(sql, &m_statement);
    if (result != SQLITE_OK || !m_statement) {
        if (m_statement) m_db->Finalize(m_statement);
        m_statement = nullptr;
        return result == -1 ? kHandheldNoDatabase : kHandheldNotReadable;
    }
    return kHandheldOk;
}

int CHandheldStatement::NextRow(int minColumns)
{
    if (!m_statement) return kHandheldNotReadable;
    int result = m_db->Step(m_statement);
    if (result == SQLITE_DONE) return 0;
    if (result != SQLITE_ROW) return kHandheldNotReadable;
    m_columns = m_db->ColumnCount(m_statement);
    return m_columns < minColumns ? kHandheldBadRow : 1;
}

int CHandheldStatement::Execute()
{
    if (!m_statement) return kHandheldWriteFailed;
    int result = SQLITE_ERROR;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        result = m_db->Step(m_statement);
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED && result != SQLITE_CANTOPEN) break;
        // A step that failed must be reset before it can run again; the
        // bound values stay.
        m_db->Reset(m_statement);
    }
    m_db->Reset(m_statement);
    m_db->ClearBindings(m_statement);
    return result == SQLITE_DONE ? kHandheldOk : kHandheldWriteFailed;
}

void CHandheldStatement::Reset()
{
    if (!m_statement) return;
    m_db->Reset(m_statement);
    m_db->ClearBindings(m_statement);
}

int CHandheldStatement::TypeOf(int column)
{
    return column >= 0 && column < m_columns ? m_db->ColumnType(m_statement, column) : -1;
}

int CHandheldStatement::UidText(int column, CString& text, bool& isNull)
{
    text.Empty();
    int type = TypeOf(column);
    isNull = type == SQLITE_NULL;
    if (isNull) return kHandheldOk;
    if (type != SQLITE_TEXT) return kHandheldBadRow;
    const unsigned char* value = m_db->ColumnText(m_statement, column);
    int length = m_db->ColumnBytes(m_statement, column);
    if (!value || length != 2 * kUniqueKeySize) return kHandheldBadRow;
    text = CString(reinterpret_cast<const char*>(value), length);
    return kHandheldOk;
}

int CHandheldStatement::Uid(int column, uint8_t key[kUniqueKeySize])
{
    ClearUniqueKey(key);
    CString text;
    bool isNull = false;
    int result = UidText(column, text, isNull);
    if (result != kHandheldOk || isNull) return result;
    // Only now is the text known to be 16 characters without a zero.
    return HexToBytes8(text, key) ? kHandheldOk : kHandheldBadRow;
}

int CHandheldStatement::Integer(int column, int64_t& value)
{
    value = 0;
    int type = TypeOf(column);
    if (type == SQLITE_NULL) return kHandheldOk;
    if (type != SQLITE_INTEGER) return kHandheldBadRow;
    value = m_db->ColumnInt64(m_statement, column);
    return kHandheldOk;
}

int CHandheldStatement::Real(int column, double& value)
{
    value = 0;
    int type = TypeOf(column);
    if (type == SQLITE_NULL) return kHandheldOk;
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) return kHandheldBadRow;
    value = m_db->ColumnDouble(m_statement, column);
    return kHandheldOk;
}

int CHandheldStatement::WideText(int column, CString& text)
{
    text.Empty();
    int type = TypeOf(column);
    if (type == SQLITE_NULL) return kHandheldOk;
    if (type != SQLITE_TEXT) return kHandheldBadRow;
    if (m_db->ColumnBytes(m_statement, column) > kMaxPlainFieldBytes) return kHandheldValueTooLong;
    text = ZvAnsiFromUtf16(m_db->ColumnText16(m_statement, column));
    return kHandheldOk;
}

int CHandheldStatement::Bytes(int column, const void*& data, int& length)
{
    data = nullptr;
    length = 0;
    int type = TypeOf(column);
    if (type == SQLITE_NULL) return kHandheldOk;
    if (type != SQLITE_BLOB && type != SQLITE_TEXT) return kHandheldBadRow;
    data = m_db->ColumnBlob(m_statement, column);
    length = m_db->ColumnBytes(m_statement, column);
    // An empty BLOB comes back as a null pointer: still a value.
    static const char kEmpty = 0;
    if (!data) data = &kEmpty;
    return kHandheldOk;
}

int CHandheldStatement::Field(int column, const CHandheldFieldCipher& cipher, CString& value, bool& hasValue)
{
    const void* data = nullptr;
    int length = 0;
    value.Empty();
    hasValue = false;
    int result = Bytes(column, data, length);
    if (result != kHandheldOk) return result;
    return cipher.Decrypt(data, length, value, hasValue);
}

int CHandheldStatement::BindText(int index, const char* text)
{
    return m_db->BindText(m_statement, index, text, -1) == SQLITE_OK ? kHandheldOk : kHandheldWriteFailed;
}

int CHandheldStatement::BindUid(int index, const uint8_t key[kUniqueKeySize])
{
    char text[2 * kUniqueKeySize + 1];
    UniqueKeyToHex(key, text);
    return BindText(index, text);
}

int CHandheldStatement::BindBlob(int index, const std::vector<uint8_t>& blob)
{
    static const uint8_t kEmpty = 0;
    const void* data = blob.empty() ? &kEmpty : blob.data();
    return m_db->BindBlob(m_statement, index, data, static_cast<int>(blob.size())) == SQLITE_OK ? kHandheldOk
                                                                                                : kHandheldWriteFailed;
}

int CHandheldStatement::BindInt64(int index, int64_t value)
{
    return m_db->BindInt64(m_statement, index, value) == SQLITE_OK ? kHandheldOk : kHandheldWriteFailed;
}

int CHandheldStatement::BindField(int index, const CHandheldFieldCipher& cipher, const CString& text, bool always)
{
    std::vector<uint8_t> blob;
    int result = cipher.Encrypt(text, blob);
    if (result != kHandheldOk) return result;
    if (blob.empty() && !always) return kHandheldOk;
    return BindBlob(index, blob);
}
