// Reading a file to import and adding what it holds to the database.
#include "exchange/import/ExchangeImport.h"

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/store/DatabaseObj.h"
#include "exchange/ExchangeIds.h"
#include "exchange/readers/FormatDetect.h"
#include "exchange/readers/ZkvReaders.h"

namespace {

// Type names are kept to this many characters.
const int kTypeNameMax = 31;

bool HasReader(int format)
{
    return format == kFormatExportText || IsZkvFormat(format) || format == kFormatDetect ||
           (format >= kFormatCryptInfo && format <= kFormatOnePassword);
}

// Column titles a spreadsheet puts above comma-separated records.
bool IsTitleWord(const CString& value)
{
    static const char* const kTitles[] = {"Type",    "Type Name", "Category", "Notes",   "Note",     "Title",
                                          "Name",    "Field 1",   "Field 2",  "Field 3", "Field 4",  "Field 5",
                                          "Field 6", "Field 7",   "Field 8",  "Field 9", "Field 10", "Date Mod"};
    CString trimmed(value);
    trimmed.Trim();
    for (const char* title : kTitles)
        if (trimmed.CompareNoCase(title) == 0) return true;
    return false;
}

// The first line of a comma-separated text without the export header is a
// title row when its first value and at least one other are column titles.
bool IsTitleRow(const ExchangeRecord& r)
{
    if (r.values.GetSize() == 0 || !IsTitleWord(r.values[0])) return false;
    int titles = IsTitleWord(r.category) ? 1 : 0;
    for (INT_PTR i = 1; i < r.values.GetSize(); ++i) titles += IsTitleWord(r.values[i]) ? 1 : 0;
    return titles >= 1;
}

// A stored attachment name names one file of the "Files" folder, nothing
// else: no folders, drives or parent references.
bool IsPlainFileName(const CString& name)
{
    if (name.IsEmpty() || name == "." || name == "..") return false;
    return name.FindOneOf("\\/:*?\"<>|") < 0;
}

// The line held something (a flag at least) and is not only line breaks.
bool LineHadText(const std::string& text, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (text[i] != '\r' && text[i] != '\n' && text[i] != ' ' && text[i] != '\t') return true;
    return false;
}

class CImportRun {
public:
    CImportRun(CDatabaseObj& db, int format, const BlowfishContext* cipher, const CString& sourcePath,
               const CString& attachmentsFolder, CNotifyProviderList* notices, ImportResult& result)
        : m_db(db), m_format(format), m_cipher(cipher), m_sourcePath(sourcePath),
          m_attachmentsFolder(attachmentsFolder), m_notices(notices), m_result(result)
    {}

    void Run(const std::string& text)
    {
        CDatabaseIdIndexScope ids(m_db);
        CTextCursor cursor(text.data(), text.size());
        // Only the program's own comma-separated text may open with a title
        // row; the other programs' readers know their own first lines.
        const bool commaText = m_format == kFormatExportText || m_format == kFormatDetect;
        bool first = commaText && !cursor.StartsWith(kExportTextHeader) && !cursor.StartsWith(kZkvHeaders[0]);
        const INT_PTR typesBefore = m_db.GetTypes().GetCount();
        const INT_PTR categoriesBefore = m_db.GetCategories().GetCount();
        ExchangeRecord record;
        while (!cursor.AtEnd()) {
            const size_t before = cursor.pos;
            record.Clear();
            if (!ParseImportLine(m_format, cursor, m_cipher, record)) break;
            if (cursor.pos == before) break;  // never loop in place
            if (record.malformed) {
                ++m_result.malformedLines;
                continue;
            }
            if (record.values.GetSize() == 0) {
                // A header alone, or blank lines, are not skipped lines.
                if (LineHadText(text, IsZkvFormat(m_format) ? HeaderEnd(text, before) : before, cursor.pos))
                    ++m_result.skippedLines;
                continue;
            }
            if (first) {
                first = false;
                if (IsTitleRow(record)) {
                    m_result.titleRowSkipped = true;
                    continue;
                }
            }
            if (record.isType && IsZkvFormat(m_format))
                AddTypeLine(record);
            else
                AddRecordLine(record);
        }
        m_result.types += static_cast<int>(m_db.GetTypes().GetCount() - typesBefore);
        m_result.categories += static_cast<int>(m_db.GetCategories().GetCount() - categoriesBefore);
    }

private:
    // Where the lines start when the text at from begins with the header.
    size_t HeaderEnd(const std::string& text, size_t from) const
    {
        CTextCursor c(text.data(), text.size(), from);
        if (!c.StartsWith(ZkvHeaderOf(m_format))) return from;
        NextLine(c);
        NextLine(c);
        return c.pos;
    }

    void AddTypeLine(const ExchangeRecord& r)
    {
        m_typeName = r.values[0].Left(kTypeNameMax);
        CTypesList& types = m_db.GetTypes();
        if (m_typeName.IsEmpty() || types.FindByName(m_typeName) || m_typeName.CompareNoCase(kUnfiledName) == 0) return;
        CBaseItem* item = types.NewItem();
        CTypeItem* type = dynamic_cast<CTypeItem*>(item);
        if (!type) {
            delete item;
            return;
        }
        type->SetName(m_typeName);
        GiveWebLoginsKey(types, *type);
        type->SetIcon(r.icon);
        type->SetHiddenMask(r.mask);
        for (int i = 0; i < kItemFieldCount; ++i) type->SetField(i, i + 1 < r.values.GetSize() ? r.values[i + 1] : "");
        type->SetModified(true);
        types.AddSorted(type);
        if (m_notices) m_notices->AddNotice(NOTIFY_ADDED, NOTIFY_ITEM_TYPE, type->GetId());
    }

    void AddRecordLine(ExchangeRecord& r)
    {
        CStringArray& values = r.values;
        if (IsZkvFormat(m_format)) {
            // A record belongs to the type line above it; before any (or
            // below one without a name) it has no type. Its values are never
            // taken for a type name.
            values.InsertAt(0, m_typeName.IsEmpty() ? CString(kUnfiledName) : m_typeName);
        } else {
            values[0] = values[0].Left(kTypeNameMax);
        }
        if (values.GetSize() < 2) {
            ++m_result.skippedLines;
            return;
        }
        WORD mask = r.mask, icon = r.icon;
        if (m_format != kFormatZkv2 && m_format != kFormatZkv3 && m_format != kFormatZkv4) {
            const CBaseItem* type = m_db.GetTypes().FindByName(values[0]);
            mask = type ? type->GetHiddenMask() : 0;
            if (m_format != kFormatZkv1 && icon == 0) icon = type ? type->GetIcon() : kUnfiledTypeIcon;
        }
        CRecord* record = m_db.ImportRecord(values, mask, r.labels, r.category, icon, m_notices);
        if (!record) return;
        if (m_format == kFormatZkv4 && r.attachment.GetSize() == 3 && !m_sourcePath.IsEmpty())
            TakeAttachment(*record, r);
        ++m_result.records;
        m_result.imported.push_back(record);
    }

    void TakeAttachment(CRecord& record, const ExchangeRecord& r)
    {
        const CString& name = r.attachment[0];
        const CString& key = r.attachment[1];
        const CString stored = r.attachment[2] + ".zfa";
        if (name.IsEmpty() || key.IsEmpty() || r.attachment[2].IsEmpty()) return;
        record.SetAttachmentName(name);
        record.SetAttachmentKey(key);
        if (m_attachmentsFolder.IsEmpty() || !IsPlainFileName(stored)) return;
        const CString files = JoinPath(GetDirectoryOfPath(m_sourcePath, false), "Files");
        if (!PathExists(files)) return;
        const CString source = JoinPath(files, stored);
        const CString target = JoinPath(m_attachmentsFolder, record.GetAttachmentFileName());
        if (zvos::CopyFileOverwrite(source.Std(), target.Std())) ++m_result.attachmentsCopied;
    }

    CDatabaseObj& m_db;
    const int m_format;
    const BlowfishContext* m_cipher;
    const CString m_sourcePath;
    const CString m_attachmentsFolder;
    CNotifyProviderList* m_notices;
    ImportResult& m_result;
    CString m_typeName;
};

}  // namespace

ImportFileCheck PrepareImportText(std::string bytes, int format, const BlowfishKeyPtr& masterKey)
{
    ImportFileCheck check;
    check.text = std::move(bytes);
    const int detected = DetectImportFormat(check.text.data(), check.text.size());
    check.format = format == kFormatDetect ? detected : format;
    if (detected == kFormatNotText) {
        check.format = kFormatNotText;
        check.messageId = IDS_IMPORT_NOT_TEXT;
        return check;
    }
    if (check.format == kFormatZkvLater) {
        check.messageId = IDS_IMPORT_LATER_ZKV;
        return check;
    }
    if (!HasReader(check.format)) {
        check.messageId = IDS_IMPORT_FORMAT_LATER;
        return check;
    }
    if (IsZkvFormat(check.format) && ZkvFileHasPassword(check.text.data(), check.text.size())) {
        if (masterKey && CheckZkvFilePassword(check.text.data(), check.text.size(), masterKey.get()) == 0)
            check.cipher = masterKey;
        else
            check.needsPassword = true;
    }
    return check;
}

ImportFileCheck PrepareImportFile(const CString& path, int format, const BlowfishKeyPtr& masterKey)
{
    std::string bytes;
    if (zvos::ReadWholeFile(path.Std(), bytes) != 0) {
        ImportFileCheck check;
        check.format = format;
        check.messageId = IDS_IMPORT_READ_ERROR;
        return check;
    }
    return PrepareImportText(std::move(bytes), format, masterKey);
}

BlowfishKeyPtr OpenWithFilePassword(const std::string& text, const CSecretString& password, unsigned& messageId)
{
    messageId = 0;
    BlowfishKeyPtr cipher = password.IsEmpty() ? nullptr : MakeBlowfishKey(password);
    if (CheckZkvFilePassword(text.data(), text.size(), cipher.get()) == 0 && cipher) return cipher;
    if (!cipher && !ZkvFileHasPassword(text.data(), text.size())) return nullptr;
    messageId = IDS_IMPORT_WRONG_PWD;
    return nullptr;
}

CString ImportResult::ReportText() const
{
    CString text;
    text.Format("%d item(s) were imported.", records);
    CString line;
    if (skippedLines > 0) {
        line.Format(kTextImportSkippedLines, skippedLines);
        text += "\r\n" + line;
    }
    if (malformedLines > 0) {
        line.Format(kTextImportMalformedLines, malformedLines);
        text += "\r\n" + line;
    }
    if (titleRowSkipped) text += CString("\r\n") + kTextImportTitleRow;
    return text;
}

void ImportExchangeText(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher,
                        const CString& sourcePath, const CString& attachmentsFolder, CNotifyProviderList* notices,
                        ImportResult& result)
{
    CImportRun(db, format, cipher, sourcePath, attachmentsFolder, notices, result).Run(text);
}
