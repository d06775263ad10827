// The details pane's layout without drawing.
#include "mainwindow/details/DetailsLayout.h"

#include <cctype>
#include <cstring>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/values/TextSearch.h"

namespace {

bool StartsWithNoCase(const CString& text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    if ((size_t)text.GetLength() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower((unsigned char)text[(int)i]) != std::tolower((unsigned char)prefix[i])) return false;
    return true;
}

CString Trimmed(const CString& text)
{
    CString t = text;
    t.Trim();
    return t;
}

bool HasMailShape(const CString& t)
{
    const int at = t.Find('@');
    if (at <= 0 || at >= t.GetLength() - 1) return false;
    if (t[at - 1] == ' ' || t[at + 1] == ' ') return false;
    return t.Find('.', at + 2) >= 0;
}

}  // namespace

bool IsLinkText(const CString& text)
{
    const CString t = Trimmed(text);
    if (t.IsEmpty()) return false;
    for (const char* prefix : {"http://", "https://", "ftp://", "mailto:", "www."})
        if (StartsWithNoCase(t, prefix)) return true;
    return HasMailShape(t);
}

CString LinkAddress(const CString& text)
{
    CString address = Trimmed(text);
    if (StartsWithNoCase(address, "www."))
        address = "http://" + address;
    else if (HasMailShape(address) && !StartsWithNoCase(address, "mailto:") && !StartsWithNoCase(address, "http://") &&
             !StartsWithNoCase(address, "https://") && !StartsWithNoCase(address, "ftp://"))
        address = "mailto:" + address;
    if (!address.IsEmpty() && address[address.GetLength() - 1] == '.') address = address.Left(address.GetLength() - 1);
    return address;
}

bool IsOpenableLink(const CString& address)
{
    for (const char* prefix : {"http://", "https://", "ftp://", "mailto:"})
        if (StartsWithNoCase(address, prefix) && address.GetLength() > (int)std::strlen(prefix)) return true;
    return false;
}

std::vector<DetailsRow> DetailsBodyRows(const CRecord& record, const CTypesList& types, const CCategoryList& categories,
                                        bool reveal, const CString& attachmentSizeText)
{
    std::vector<DetailsRow> rows;
    rows.push_back({"Category:", categories.GetNameByKey(record.GetCategoryKey()), -1, false});
    const CTypeItem* type = static_cast<const CTypeItem*>(types.FindByKey(record.GetTypeKey()));
    for (int i = 1; i < kItemFieldCount; ++i) {
        if (!record.HasFieldText(i)) continue;
        const CString value = record.GetFieldDisplayText(i, !reveal);
        rows.push_back({record.GetFieldLabel(i, type, true), value, i, IsLinkText(value)});
    }
    if (record.HasAttachment()) {
        CString value;
        value.Format("%s (%s)", (LPCSTR)record.GetAttachmentName(), (LPCSTR)attachmentSizeText);
        rows.push_back({"Attachment:", value, -1, false});
    }
    return rows;
}

int FieldOfCopyButton(const CRecord& record, int n)
{
    // The heading's button is missing when field 1 is empty, so the body's
    // buttons count from one less.
    if (!record.HasFieldText(0)) --n;
    if (n < 0) return -1;
    for (int i = 0; i < kItemFieldCount; ++i) {
        if (!record.HasFieldText(i)) continue;
        if (n-- == 0) return i;
    }
    return -1;
}

std::vector<NotePiece> WrapNotes(const CString& notes, int width, const std::function<int(const CString&)>& textWidth,
                                 const std::function<int(const CString&, int)>& charsThatFit)
{
    std::vector<NotePiece> pieces;
    if (width <= 0) return pieces;
    int x = 0;
    int line = 0;
    const char* pos = notes;
    while (pos && *pos) {
        CString run;
        pos = CopyTextRun(pos, run);
        if (run.IsEmpty()) break;
        const int returns = CountCarriageReturns(run);
        if (returns > 0) {
            line += returns;
            x = 0;
            continue;
        }
        const bool white = IsTextWhiteSpace(run[0]);
        const bool link = !white && IsLinkText(run);
        const CString address = link ? LinkAddress(run) : CString();
        const int w = textWidth(run);
        if (w < width - x) {
            if (!white) pieces.push_back({x, line, run, link, address});
            x += w;
        } else if (w > width) {
            if (x > 0) {
                ++line;
                x = 0;
            }
            CString rest = run;
            while (!rest.IsEmpty()) {
                int n = charsThatFit(rest, width);
                if (n <= 0) n = 1;  // a character wider than the line still goes
                const CString piece = rest.Left(n);
                if (!white) pieces.push_back({0, line, piece, link, address});
                rest = rest.Mid(n);
                x = textWidth(piece);
                if (!rest.IsEmpty()) ++line;
            }
        } else {
            // White space that does not fit ends the line; the next line
            // starts with the next word.
            ++line;
            x = 0;
            if (!white) pieces.push_back({x, line, run, link, address});
            x = white ? 0 : w;
        }
    }
    return pieces;
}
