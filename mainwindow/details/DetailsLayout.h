#pragma once
// What the details pane shows of a record, without drawing it: which texts
// are links and where they lead, the body's rows (category, the non-empty
// fields 2 to 10, the attachment), which field a row's copy button copies,
// and how the notes wrap into lines. Plain logic; the pane measures text
// through the functions it hands in.
#include <functional>
#include <vector>

#include "framework/CString.h"

class CRecord;
class CCategoryList;
class CTypesList;

// A web or mail address: "http://", "https://", "ftp://", "mailto:" or
// "www." at the start (case ignored), or the shape of an e-mail address.
bool IsLinkText(const CString& text);
// Where a link leads: "http://" before "www.", "mailto:" before a bare
// e-mail address, a final '.' dropped.
CString LinkAddress(const CString& text);
// Only these are ever opened: http, https, ftp and mailto.
bool IsOpenableLink(const CString& address);

struct DetailsRow {
    CString label;  // with its colon
    CString value;  // masked as shown
    int field;      // 0-9, -1 for the category and the attachment rows
    bool link;
};

// The body's rows: "Category:" first, then each non-empty field 2 to 10 and,
// with an attachment, "Attachment:" with its name and size text.
std::vector<DetailsRow> DetailsBodyRows(const CRecord& record, const CTypesList& types, const CCategoryList& categories,
                                        bool reveal, const CString& attachmentSizeText);

// The field a copy button (command 2100 + n) copies: the n-th non-empty
// field over fields 1-10, counting from the heading's button, which a
// record with an empty field 1 does not have. -1 when there is none.
int FieldOfCopyButton(const CRecord& record, int n);

// One piece of the notes placed on a line.
struct NotePiece {
    int x;
    int line;
    CString text;
    bool link;
    CString address;
};

// The notes cut into runs of white space and of other characters, laid out
// on lines of width pixels: a run that does not fit starts a new line, one
// wider than a whole line is cut into pieces that fill each line, carriage
// returns start new lines. textWidth measures a run; charsThatFit tells
// how many leading characters of a run fit into a width.
std::vector<NotePiece> WrapNotes(const CString& notes, int width, const std::function<int(const CString&)>& textWidth,
                                 const std::function<int(const CString&, int)>& charsThatFit);
