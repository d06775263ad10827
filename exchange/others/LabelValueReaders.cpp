// The readers of label-value exports: CryptInfo, MobileSafe and eWallet.
#include "exchange/others/OtherReaders.h"
#include "exchange/others/OtherTextLines.h"

using namespace others;

namespace {

// Entry of a CryptInfo "Note:" line (field 7).
const int kCryptInfoNoteEntry = 7;
// eWallet: value lines fill the values up to this many entries; the notes
// go to the entry after the fields.
const int kEWalletValueEntries = 10;
const int kEWalletNotesEntry = 11;
// Longest "Card Type:" value taken.
const int kCardTypeMax = 32;

void PadTo(CStringArray& values, int count)
{
    while (values.GetSize() < count) values.Add(CString());
}

// The label-value lines of one record up to a blank line or the end of the
// text; lines without a colon that follow no label line are passed over.
void ReadLabelLines(CTextCursor& c, CStringArray& values, bool noteAtSeven)
{
    while (!AtBlankLineOrEnd(c)) {
        const CString line = TakeLine(c);
        if (line.Find(':') < 0) continue;
        if (noteAtSeven && BeginsWith(line, "Note:")) PadTo(values, kCryptInfoNoteEntry);
        values.Add(TakeLabelValue(line, c, false));
    }
}

bool IsEWalletNotesLine(const CString& line)
{
    return BeginsWith(line, "Note:") || BeginsWith(line, "Notes:") || BeginsWith(line, "Card Notes:");
}

bool AtEWalletRecordStart(const CTextCursor& c) { return c.StartsWith("Category:") || c.StartsWith("Card Name:"); }

}  // namespace

void ParseCryptInfoRecord(CTextCursor& c, CStringArray& values)
{
    if (c.StartsWith("CryptInfo Export")) PassLine(c);
    PassBlankLines(c);
    if (c.AtEnd()) return;
    values.Add(CString());
    ReadLabelLines(c, values, true);
}

void ParseMobileSafeRecord(CTextCursor& c, CStringArray& values)
{
    if (c.StartsWith("Mobile AM Export:")) {
        PassLine(c);
    } else {
        PassBlankLines(c);
        PassLine(c);  // the record's title
    }
    PassBlankLines(c);
    if (c.AtEnd()) return;
    values.Add(CString());
    ReadLabelLines(c, values, false);
}

void ParseEWalletRecord(CTextCursor& c, CStringArray& values)
{
    while (c.StartsWith("Category:")) {
        PassLine(c);
        PassBlankLines(c);
    }
    PassBlankLines(c);
    if (c.AtEnd()) return;
    values.Add(CString());
    // A record ends where the next begins, but only once it holds a value:
    // its own first line may be a "Card Name:" line, and its "Card Type:"
    // line may come before that.
    bool holdsValue = false;
    while (!c.AtEnd()) {
        if (holdsValue && AtEWalletRecordStart(c)) return;
        const CString line = TakeLine(c);
        if (TrimValue(line).IsEmpty()) continue;
        if (BeginsWith(line, "Card Type:")) {
            values[0] = TrimValue(line.Mid(10).Left(kCardTypeMax));
        } else if (!IsEWalletNotesLine(line) && values.GetSize() < kEWalletValueEntries) {
            if (BeginsWith(line, "Label")) continue;
            if (line.Find(':') >= 0) {
                values.Add(TakeLabelValue(line, c, true));
                holdsValue = true;
            }
        } else {
            PadTo(values, kEWalletNotesEntry);
            CString notes = IsEWalletNotesLine(line) ? line.Mid(line.Find(':') + 1) : line;
            notes += "\r\n";
            for (;;) {
                PassBlankLines(c);
                if (c.AtEnd() || AtEWalletRecordStart(c)) break;
                notes += TakeLine(c);
                notes += "\r\n";
            }
            values.Add(TrimValue(notes));
            return;
        }
        PassBlankLines(c);
    }
}
