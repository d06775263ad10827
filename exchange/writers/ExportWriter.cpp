// Writing records out as exchange text.
#include "exchange/writers/ExportWriter.h"

#include <cstring>

#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/store/DatabaseObj.h"
#include "core/store/ReplacingFile.h"
#include "framework/CException.h"
#include "exchange/ExchangeIds.h"
#include "exchange/writers/ZkvWriters.h"

namespace {

// The export goes to its file in pieces of about this size, so that a large
// export never holds its whole text in memory.
const size_t kPieceBytes = 1 << 20;

const CTypeItem* LiveType(const CDatabaseObj& db, const uint8_t* key)
{
    if (IsNullUniqueKey(key)) return nullptr;
    const CBaseItem* item = db.GetTypes().FindByKey(key);
    return item && !item->IsDeleted() ? static_cast<const CTypeItem*>(item) : nullptr;
}

CString CategoryName(const CDatabaseObj& db, const uint8_t* key)
{
    const CBaseItem* item = IsNullUniqueKey(key) ? nullptr : db.GetCategories().FindByKey(key);
    return item && !item->IsDeleted() ? item->GetName() : CString(kUnfiledName);
}

}  // namespace

CExportWriter::CExportWriter(const CDatabaseObj& db, int format, const BlowfishContext* cipher)
    : m_db(db), m_format(format), m_cipher(format == kFormatExportText ? nullptr : cipher)
{
    ResetTypeTracking();
}

void CExportWriter::ResetTypeTracking() { std::memcpy(m_lastTypeKey, KEY_ALL, kUniqueKeySize); }

void CExportWriter::WriteHeader(std::string& out) const { WriteZkvHeader(m_format, out, m_cipher); }

void CExportWriter::WriteTypeLineFor(std::string& out, const uint8_t typeKey[kUniqueKeySize])
{
    if (!IsZkvFormat(m_format) || IsSameUniqueKey(typeKey, m_lastTypeKey)) return;
    CStringArray values;
    if (const CTypeItem* type = LiveType(m_db, typeKey)) {
        values.Add(type->GetName());
        for (int i = 0; i < kItemFieldCount; ++i) values.Add(type->GetFieldName(i));
        WriteTypeLine(out, m_format, m_cipher, values, type->GetHiddenMask(), type->GetIcon());
    } else {
        values.Add(kUnfiledName);
        WriteTypeLine(out, m_format, m_cipher, values, 0, kUnfiledTypeIcon);
    }
    std::memcpy(m_lastTypeKey, typeKey, kUniqueKeySize);
}

void CExportWriter::WriteRecordText(std::string& out, const CRecord& record, bool withAttachments,
                                    bool noAttachmentValues, CStringArray* attachmentFiles)
{
    const CTypeItem* type = LiveType(m_db, record.GetTypeKey());
    CStringArray values;
    if (m_format == kFormatExportText) values.Add(type ? type->GetName() : CString(kUnfiledName));
    for (int i = 0; i < kItemFieldCount; ++i) values.Add(record.GetField(i));
    values.Add(record.GetNotes());
    CStringArray labels;
    record.GetFieldLabels(type, labels);
    CStringArray attachment;
    if (m_format == kFormatZkv4 && !noAttachmentValues) {
        if (withAttachments) {
            CString stored = record.GetAttachmentFileName();
            attachment.Add(record.GetAttachmentName());
            attachment.Add(record.GetAttachmentKey());
            CString base = stored;
            StripExtension(base);
            attachment.Add(base);
            if (attachmentFiles) attachmentFiles->Add(stored);
        } else {
            for (int i = 0; i < 3; ++i) attachment.Add(CString());
        }
    }
    WriteRecordLine(out, m_format, m_cipher, values, record.GetHiddenMask(), labels,
                    CategoryName(m_db, record.GetCategoryKey()), attachment, record.GetIcon());
}

void CExportWriter::WriteRecords(std::string& out, const std::vector<const CRecord*>& records, bool withAttachments,
                                 CStringArray* attachmentFiles)
{
    for (const CRecord* record : records) {
        if (!record) continue;
        WriteTypeLineFor(out, record->GetTypeKey());
        WriteRecordText(out, *record, withAttachments, false, attachmentFiles);
    }
}

std::vector<const CRecord*> CollectAllRecords(const CDatabaseObj& db)
{
    std::vector<const CRecord*> records;
    const CRecordList& list = db.GetRecords();
    records.reserve(static_cast<size_t>(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(list.GetNext(pos));
        if (!record->IsDeleted()) records.push_back(record);
    }
    return records;
}

size_t EstimateExportSize(const CDatabaseObj& db, const BlowfishContext* cipher)
{
    size_t size = 512;
    const CRecordList& list = db.GetRecords();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(list.GetNext(pos));
        size_t sum = 310;
        for (int i = 0; i < kItemFieldCount; ++i) sum += static_cast<size_t>(record->GetField(i).GetLength()) + 5;
        sum += static_cast<size_t>(record->GetNotes().GetLength()) + 5;
        size += cipher ? (sum + 84) * 2 : sum;
    }
    return size;
}

namespace {

// The file of an export: the path, or for format 5 the file of the folder's
// own name inside the folder (created when missing). False when the folder
// cannot be made.
bool ExportFilePath(int format, const CString& path, CString& file)
{
    file = path;
    if (format != kFormatZkv4) return true;
    if (!PathExists(path) && CreateFolderPath(path) != 0) return false;
    file = JoinPath(path, GetFileNameOfPath(path));
    return true;
}

// Writes pieces of text to a new version of the file beside the old one;
// the old file is replaced only when all of it was written.
class CExportFile {
public:
    explicit CExportFile(const CString& file) : m_out(file) {}
    bool Open() { return m_out.Open() == 0; }
    // Appends the text and empties it.
    void Write(std::string& text)
    {
        if (!m_failed && !text.empty()) {
            try {
                m_out.GetFile().Write(text.data(), static_cast<UINT>(text.size()));
            } catch (const CException&) {
                m_failed = true;
            }
        }
        text.clear();
    }
    // 0, or IDS_EXPORT_WRITE_ERROR with the old file as it was.
    unsigned Commit()
    {
        if (m_failed) {
            m_out.Discard();
            return IDS_EXPORT_WRITE_ERROR;
        }
        return m_out.Commit() == 0 ? 0 : IDS_EXPORT_WRITE_ERROR;
    }

private:
    CReplacingFile m_out;
    bool m_failed = false;
};

}  // namespace

unsigned SaveExportText(int format, const std::string& text, const CString& path)
{
    CString file;
    if (!ExportFilePath(format, path, file)) return IDS_EXPORT_CREATE_ERROR;
    CExportFile out(file);
    if (!out.Open()) return IDS_EXPORT_CREATE_ERROR;
    for (size_t at = 0; at < text.size(); at += kPieceBytes) {
        std::string piece = text.substr(at, kPieceBytes);
        out.Write(piece);
    }
    return out.Commit();
}

int CopyExportAttachments(int format, const CStringArray& files, const CString& path, const CString& attachmentsFolder)
{
    if (format != kFormatZkv4) return 0;
    const CString target = JoinPath(path, "Files");
    if (!PathExists(target) && CreateFolderPath(target) != 0) return 0;
    int copied = 0;
    for (INT_PTR i = 0; i < files.GetSize(); ++i) {
        const CString source = JoinPath(attachmentsFolder, files[i]);
        if (FileExists(source) && zvos::CopyFileOverwrite(source.Std(), JoinPath(target, files[i]).Std())) ++copied;
    }
    return copied;
}

unsigned WriteExportFile(const CDatabaseObj& db, int format, const std::vector<const CRecord*>& records,
                         bool withAttachments, const CString& path, const BlowfishContext* cipher,
                         const CString& attachmentsFolder)
{
    CString file;
    if (!ExportFilePath(format, path, file)) return IDS_EXPORT_CREATE_ERROR;
    CExportFile out(file);
    if (!out.Open()) return IDS_EXPORT_CREATE_ERROR;
    CExportWriter writer(db, format, cipher);
    std::string text;
    text.reserve(kPieceBytes + kPieceBytes / 4);
    writer.WriteHeader(text);
    CStringArray attachmentFiles;
    for (const CRecord* record : records) {
        if (!record) continue;
        writer.WriteTypeLineFor(text, record->GetTypeKey());
        writer.WriteRecordText(text, *record, withAttachments, false, &attachmentFiles);
        if (text.size() >= kPieceBytes) out.Write(text);
    }
    out.Write(text);
    const unsigned result = out.Commit();
    if (withAttachments) CopyExportAttachments(format, attachmentFiles, path, attachmentsFolder);
    return result;
}
