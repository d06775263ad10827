// The readers of separated-value exports: TopSecret, Yaps and 1Password.
#include "exchange/others/OtherReaders.h"
#include "exchange/others/OtherTextLines.h"
#include "exchange/readers/ExchangeFormats.h"

using namespace others;

namespace {

// TopSecret: entries of a line and where its first three values go.
const int kTopSecretEntries = 8;
const int kTopSecretTargets[] = {1, 7, 0};
// Yaps: an empty entry goes in before this value (counted from 1).
const int kYapsGapBefore = 7;
// 1Password: values counted 0 to 8 are fields 1 to 9; from the value
// counted 9 the rest of the line is the notes (entry 11), after an empty
// field 10.
const int kOnePasswordFields = 9;
const int kOnePasswordEntries = 12;
const WORD kOnePasswordIcon = 24;
const char kOnePasswordCategory[] = "1Password";

void PassWhiteSpace(CTextCursor& c)
{
    while (!c.AtEnd() && (c.Peek() == '\r' || c.Peek() == '\n' || c.Peek() == ' ' || c.Peek() == '\t')) ++c.pos;
}

}  // namespace

void ParseTopSecretLine(CTextCursor& c, CStringArray& values)
{
    SkipLineBreaks(c);
    if (c.AtEnd()) return;
    while (values.GetSize() < kTopSecretEntries) values.Add(CString());
    CString value;
    for (int n = 0; !c.AtLineEnd(); ++n) {
        ReadCsvValue(c, value);
        if (n < 3) values[kTopSecretTargets[n]] = value;
    }
}

void ParseYapsRecord(CTextCursor& c, CStringArray& values)
{
    if (c.StartsWith("#Yaps Data")) PassLine(c);
    PassWhiteSpace(c);
    if (c.Peek() == '#') ++c.pos;
    for (int n = 1;; ++n) {
        PassWhiteSpace(c);
        if (c.AtEnd() || c.Peek() == '#') return;
        if (n == kYapsGapBefore) values.Add(CString());
        values.Add(ReadSepValue(c, '#'));
    }
}

void ParseOnePasswordLine(CTextCursor& c, CStringArray& values, CString& category, WORD& icon)
{
    while (c.StartsWith("Category")) {
        PassLine(c);
        SkipLineBreaks(c);
    }
    // The column titles at the start of the file, later the previous
    // record's line end.
    PassLine(c);
    SkipLineBreaks(c);
    if (c.AtEnd()) return;  // a final line break is no record
    values.Add(kUnfiledName);
    icon = kOnePasswordIcon;
    category = kOnePasswordCategory;
    for (int n = 0; n < kOnePasswordFields; ++n) {
        values.Add(ReadTabValue(c));
        if (c.AtLineEnd()) break;
    }
    if (!c.AtLineEnd()) {
        values.Add(CString());
        const size_t from = c.pos;
        while (!c.AtLineEnd()) ++c.pos;
        values.Add(CString(c.text + from, static_cast<int>(c.pos - from)));
    }
    while (values.GetSize() < kOnePasswordEntries) values.Add(CString());
}
