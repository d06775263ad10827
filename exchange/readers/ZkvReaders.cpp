// Reading one line of exchange text.
#include "exchange/readers/ZkvReaders.h"

#include "exchange/others/OtherReaders.h"

namespace {

// Reads one value when the line goes on; false at the line end or for a
// quote the text never closes (the record is then malformed).
bool ReadInLine(CTextCursor& c, CString& value, ExchangeRecord& record)
{
    if (c.AtLineEnd()) return false;
    if (!ReadCsvValue(c, value)) {
        record.malformed = true;
        return false;
    }
    return true;
}

// The text value as stored: decrypted when there is a cipher.
CString Plain(const BlowfishContext* cipher, const CString& value)
{
    return cipher ? DecryptZkvValue(cipher, value) : value;
}

// Passes the header lines when the cursor is at the start of the text: a
// header anywhere else is a line of values like any other.
void SkipHeader(int format, CTextCursor& c)
{
    if (c.pos == 0) c.pos = ExchangeHeaderEnd(format, c.text, c.length);
}

}  // namespace

size_t ExchangeHeaderEnd(int format, const char* text, size_t length)
{
    CTextCursor c(text, length);
    int lines = 0;
    if (IsZkvFormat(format)) {
        lines = c.StartsWith(ZkvHeaderOf(format)) ? 2 : 0;
    } else if (format == kFormatExportText || format == kFormatDetect) {
        lines = c.StartsWith(kExportTextHeader) ? 1 : c.StartsWith(kZkvHeaders[0]) ? 2 : 0;
    }
    for (int i = 0; i < lines; ++i) NextLine(c);
    return c.pos;
}

void ParseZkvLine(int format, CTextCursor& c, const BlowfishContext* cipher, ExchangeRecord& r)
{
    const int version = format - kFormatZkv1 + 1;  // 1 to 4
    SkipHeader(format, c);
    SkipLineBreaks(c);
    CString value;
    if (!ReadInLine(c, value, r)) return NextLine(c);
    r.isType = value.GetLength() > 0 && value[0] == 'T';
    if (!ReadInLine(c, value, r)) return NextLine(c);
    r.icon = ParseDecimalWord(value);

    const int wanted = r.isType ? (version <= 2 ? 7 : 11) : (version <= 2 ? 6 : 10);
    for (int i = 0; i < wanted && ReadInLine(c, value, r); ++i) r.values.Add(Plain(cipher, value));
    if (r.malformed) return NextLine(c);

    if (version == 4 && !r.isType && !c.AtLineEnd()) {
        for (int i = 0; i < 3; ++i) {
            if (!ReadInLine(c, value, r)) {
                r.malformed = true;  // cut inside the attachment values
                return NextLine(c);
            }
            r.attachment.Add(Plain(cipher, value));
        }
    }
    if (c.AtLineEnd()) return NextLine(c);  // stops after its values

    if (version >= 2) {
        ReadInLine(c, value, r);
        r.mask = ParseDecimalWord(value);
    }
    if (r.isType || r.malformed) return NextLine(c);

    const int padding = version == 1 ? 4 : version == 2 ? 5 : 0;
    for (int i = 0; i < padding; ++i) r.values.Add(CString());
    if (version >= 2) {
        const int labels = version == 2 ? 6 : 10;
        for (int i = 0; i < labels && ReadInLine(c, value, r); ++i) r.labels.Add(Plain(cipher, value));
        if (!ReadInLine(c, value, r)) {
            r.malformed = true;  // cut before its category
            return NextLine(c);
        }
        r.category = Plain(cipher, value);
    }
    if (c.AtLineEnd()) {
        r.values.Add(CString());
    } else if (ReadInLine(c, value, r)) {
        r.values.Add(Plain(cipher, value));
    }
    NextLine(c);
}

void ParseExportTextLine(CTextCursor& c, ExchangeRecord& r)
{
    SkipHeader(kFormatExportText, c);
    SkipLineBreaks(c);
    CString value;
    for (int i = 0; i < 12 && ReadInLine(c, value, r); ++i) r.values.Add(value);
    if (!r.malformed && ReadInLine(c, value, r)) r.category = value;
    NextLine(c);
}

bool ParseImportLine(int format, CTextCursor& c, const BlowfishContext* cipher, ExchangeRecord& r)
{
    r.ClearScalars();
    if (format == kFormatExportText || format == kFormatDetect) {
        ParseExportTextLine(c, r);
        return true;
    }
    if (IsZkvFormat(format)) {
        ParseZkvLine(format, c, cipher, r);
        return true;
    }
    switch (format) {
    case kFormatCryptInfo: ParseCryptInfoRecord(c, r.values); return true;
    case kFormatTopSecret: ParseTopSecretLine(c, r.values); return true;
    case kFormatYaps: ParseYapsRecord(c, r.values); return true;
    case kFormatMobileSafe: ParseMobileSafeRecord(c, r.values); return true;
    case kFormatEWallet: ParseEWalletRecord(c, r.values); return true;
    case kFormatOnePassword: ParseOnePasswordLine(c, r.values, r.category, r.icon); return true;
    default: return false;
    }
}
