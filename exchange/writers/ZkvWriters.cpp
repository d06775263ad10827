// Writing the record-exchange texts.
#include "exchange/writers/ZkvWriters.h"

#include <algorithm>
#include <cstring>

#include "exchange/readers/ExchangeValues.h"

namespace {

const char kLineEnd[] = "\r\n";
// Index of the notes in a record's values: right after the ten fields.
const int kNotesIndex = 10;

void AppendNumber(std::string& out, unsigned value)
{
    out += std::to_string(value);
    out += ',';
}

CString EntryOrEmpty(const CStringArray& list, INT_PTR i) { return i < list.GetSize() ? list[i] : CString(); }

}  // namespace

void WritePasswordCheckLine(std::string& out, const BlowfishContext* cipher)
{
    if (cipher) {
        uint8_t block[kZkvCheckPlaintextLength];
        std::memcpy(block, kZkvCheckPlaintext, sizeof block);
        EncryptBlocks(cipher, block, sizeof block);
        out += "T,";
        AppendHex(out, block, sizeof block);
    } else {
        out += 'F';
    }
    out += kLineEnd;
}

void WriteZkvHeader(int format, std::string& out, const BlowfishContext* cipher)
{
    if (const char* header = ZkvHeaderOf(format)) {
        out += header;
        out += kLineEnd;
        WritePasswordCheckLine(out, cipher);
        return;
    }
    out += kExportTextHeader;
    out += kLineEnd;
}

void WriteClipboardHeader(int format, std::string& out)
{
    out += format == kFormatZkv3 ? kZkvHeaders[2] : format == kFormatZkv4 ? kZkvHeaders[3] : kExportTextHeader;
    out += kLineEnd;
    out += 'F';
    out += kLineEnd;
}

void WriteZkvLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                  const CStringArray& labels, const CString& category, const CStringArray& attachment, WORD icon,
                  bool isType)
{
    const bool v2 = format == kFormatZkv2;
    out += isType ? "T," : "F,";
    AppendNumber(out, icon);
    if (isType) {
        const INT_PTR count = v2 ? std::min<INT_PTR>(values.GetSize(), 7) : values.GetSize();
        for (INT_PTR i = 0; i < count; ++i) {
            WriteZkvValue(out, cipher, values[i]);
            out += ',';
        }
        out += std::to_string(mask);
        out += kLineEnd;
        return;
    }
    const INT_PTR fields = v2 ? 6 : 10;
    for (INT_PTR i = 0; i < fields; ++i) {
        WriteZkvValue(out, cipher, EntryOrEmpty(values, i));
        out += ',';
    }
    if (format == kFormatZkv4) {
        for (INT_PTR i = 0; i < 3; ++i) {
            WriteZkvValue(out, cipher, EntryOrEmpty(attachment, i));
            out += ',';
        }
    }
    AppendNumber(out, mask);
    const INT_PTR labelCount = v2 ? std::min<INT_PTR>(labels.GetSize(), 6) : labels.GetSize();
    for (INT_PTR i = 0; i < labelCount; ++i) {
        WriteZkvValue(out, cipher, labels[i]);
        out += ',';
    }
    WriteZkvValue(out, cipher, category);
    out += ',';
    WriteZkvValue(out, cipher, EntryOrEmpty(values, kNotesIndex));
    out += kLineEnd;
}

void WriteTypeLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                   WORD icon)
{
    static const CStringArray kNone;
    WriteZkvLine(out, format, cipher, values, mask, kNone, CString(), kNone, icon, true);
}

void WriteCsvLine(std::string& out, const CStringArray& values, const CString& category)
{
    for (INT_PTR i = 0; i < values.GetSize(); ++i) {
        QuoteCsvField(values[i], out);
        out += ',';
    }
    QuoteCsvField(category, out);
    out += kLineEnd;
}

void WriteRecordLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                     const CStringArray& labels, const CString& category, const CStringArray& attachment, WORD icon)
{
    if (IsZkvFormat(format))
        WriteZkvLine(out, format, cipher, values, mask, labels, category, attachment, icon, false);
    else
        WriteCsvLine(out, values, category);
}
