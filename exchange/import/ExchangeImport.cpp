// Reading a file to import and adding what it holds to the database.
#include "exchange/import/ExchangeImport.h"

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/store/DatabaseObj.h"
#include "core/values/TextSearch.h"
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

// The column titles of the comma-separated text's thirteen values, as the
// record list names them with no type chosen: type, ten fields, notes,
// category.
const char* const kTitleRow[] = {"Type",    "Field 1", "Field 2", "Field 3",  "Field 4", "Field 5", "Field 6",
                                 "Field 7", "Field 8", "Field 9", "Date Mod", "Notes",   "Category"};

// Only a line that is exactly that title row is one: a real first record
// may well hold a word such as "Notes" in its type name or fields.
bool IsTitleRow(const ExchangeRecord& r)
{
    const INT_PTR values = static_cast<INT_PTR>(sizeof kTitleRow / sizeof kTitleRow[0]) - 1;
    if (r.values.GetSize() != values || r.category != kTitleRow[values]) return false;
    for (INT_PTR i = 0; i < values; ++i)
        if (r.values[i] != kTitleRow[i]) return false;
    return true;
}

// A stored attachment name names one file of the "Files" folder, nothing
// else: no folders, drives or parent references.
bool IsPlainFileName(const CString& name)
{
    if (name.IsEmpty() || name == "." || name == "..") return false;
    return name.FindOneOf("\\/:*?\"<>|") < 0;
}

// Where the text between from and to starts after blanks and line breaks;
// to when there is none.
size_t TextStart(const std::string& text, size_t from, size_t to)
{
    while (from < to && IsTextWhiteSpace(text[from])) ++from;
    return from;
}

// Counts lines as the cursor moves forward through the text: a line ends
// at LF, at CR LF and at a lone CR.
class CLineCounter {
public:
    explicit CLineCounter(const std::string& text) : m_text(text) {}
    // The line number (from 1) of the character at pos; pos never goes back.
    int LineAt(size_t pos)
    {
        for (; m_pos < pos && m_pos < m_text.size(); ++m_pos) {
            const char c = m_text[m_pos];
            if (c == '\n' || (c == '\r' && (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != '\n'))) ++m_line;
        }
        return m_line;
    }

private:
    const std::string& m_text;
    size_t m_pos = 0;
    int m_line = 1;
};

void NoteLine(std::vector<int>& lines, int line)
{
    if (lines.size() < ImportResult::kReportedLines) lines.push_back(line);
}

// "2, 5, 9", and " and 3 more" when more lines were left out than are
// listed.
CString LineList(const std::vector<int>& lines, int count)
{
    CString list, number;
    for (size_t i = 0; i < lines.size(); ++i) {
        number.Format(i == 0 ? "%d" : ", %d", lines[i]);
        list += number;
    }
    const int more = count - static_cast<int>(lines.size());
    if (more > 0) {
        number.Format(" and %d more", more);
        list += number;
    }
    return list;
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
        CDatabaseNameIndexScope names(m_db);
        CTextCursor cursor(text.data(), text.size());
        // Only the program's own comma-separated text may open with a title
        // row; the other programs' readers know their own first lines.
        const bool commaText = m_format == kFormatExportText || m_format == kFormatDetect;
        bool first = commaText && ExchangeHeaderEnd(m_format, text.data(), text.size()) == 0;
        const INT_PTR typesBefore = m_db.GetTypes().GetCount();
        const INT_PTR categoriesBefore = m_db.GetCategories().GetCount();
        CLineCounter lines(text);
        ExchangeRecord record;
        while (!cursor.AtEnd()) {
            const size_t before = cursor.pos;
            record.Clear();
            if (!ParseImportLine(m_format, cursor, m_cipher, record)) break;
            if (cursor.pos == before) break;  // never loop in place
            // The line's own text starts after the file's header lines (only
            // ever its first) and the blank lines the reader passed.
            const size_t headerEnd = before == 0 ? ExchangeHeaderEnd(m_format, text.data(), text.size()) : before;
            const size_t start = TextStart(text, headerEnd, cursor.pos);
            if (record.malformed) {
                ++m_result.malformedLines;
                NoteLine(m_result.malformedAt, lines.LineAt(start));
                continue;
            }
            if (record.values.GetSize() == 0) {
                // A header alone, or blank lines, are not skipped lines.
                if (start < cursor.pos) {
                    ++m_result.skippedLines;
                    NoteLine(m_result.skippedAt, lines.LineAt(start));
                }
                continue;
            }
            if (first) {
                first = false;
                if (IsTitleRow(record)) {
                    m_result.titleRowSkipped = true;
                    m_result.titleRowLine = lines.LineAt(start);
                    continue;
                }
            }
            if (record.isType && IsZkvFormat(m_format))
                AddTypeLine(record);
            else if (!AddRecordLine(record)) {
                ++m_result.skippedLines;
                NoteLine(m_result.skippedAt, lines.LineAt(start));
            }
        }
        m_result.types += static_cast<int>(m_db.GetTypes().GetCount() - typesBefore);
        m_result.categories += static_cast<int>(m_db.GetCategories().GetCount() - categoriesBefore);
    }

private:
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

    // False when the line was left out for want of values.
    bool AddRecordLine(ExchangeRecord& r)
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
        if (values.GetSize() < 2) return false;
        WORD mask = r.mask, icon = r.icon;
        if (m_format != kFormatZkv2 && m_format != kFormatZkv3 && m_format != kFormatZkv4) {
            const CBaseItem* type = m_db.GetTypes().FindByName(values[0]);
            mask = type ? type->GetHiddenMask() : 0;
            if (m_format != kFormatZkv1 && icon == 0) icon = type ? type->GetIcon() : kUnfiledTypeIcon;
        }
        CRecord* record = m_db.ImportRecord(values, mask, r.labels, r.category, icon, m_notices);
        if (!record) return true;
        if (m_format == kFormatZkv4 && r.attachment.GetSize() == 3 && !m_sourcePath.IsEmpty())
            TakeAttachment(*record, r);
        ++m_result.records;
        m_result.imported.push_back(record);
        return true;
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

CString ImportResult::LeftOutText() const
{
    CString text, line;
    if (malformedLines > 0) {
        line.Format(kTextImportMalformedLines, malformedLines, (LPCSTR)LineList(malformedAt, malformedLines));
        text += line;
    }
    if (skippedLines > 0) {
        line.Format(kTextImportSkippedLines, skippedLines, (LPCSTR)LineList(skippedAt, skippedLines));
        text += (text.IsEmpty() ? "" : "\r\n") + line;
    }
    if (titleRowSkipped) {
        line.Format(kTextImportTitleRow, titleRowLine);
        text += (text.IsEmpty() ? "" : "\r\n") + line;
    }
    return text;
}

CString ImportResult::ReportText() const
{
    CString text;
    text.Format(kTextImportedItems, records);
    const CString leftOut = LeftOutText();
    if (!leftOut.IsEmpty()) text += "\r\n" + leftOut;
    return text;
}

void ImportExchangeText(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher,
                        const CString& sourcePath, const CString& attachmentsFolder, CNotifyProviderList* notices,
                        ImportResult& result)
{
    CImportRun(db, format, cipher, sourcePath, attachmentsFolder, notices, result).Run(text);
}
