#pragma once
// Where the printed report puts everything, without drawing: the heading,
// the record list as rows of word-wrapped cells, or one record laid out like
// the details pane. The report is one long strip in printer units; page n
// shows the band from (n - 1) x page height - 100, so page 1 starts 100
// units below the top of the printable area. Text lines never straddle two
// bands: a line that would cross a band's end moves to the next band's top,
// and each item knows the page it is printed on. Plain logic; the view
// measures text with the printer's font through the functions it hands in.
#include <functional>
#include <utility>
#include <vector>

#include "framework/CString.h"

struct PrintMetrics {
    int pageWidth = 0;   // horizontal resolution
    int pageHeight = 0;  // vertical resolution
    int margin = 0;      // a third of an inch
    int lineHeight = 0;  // text height plus external leading
    int textHeight = 0;  // the step of wrapped lines
};

struct PrintMeasure {
    std::function<int(const CString&)> textWidth;
    // How many leading characters of a text fit into a width.
    std::function<int(const CString&, int)> charsThatFit;
};

struct PrintItem {
    enum Kind {
        Text,          // one line, cut at the rectangle's right edge
        EllipsisText,  // one line, ended with "..." when too wide
        Rule,          // a line from (left, top) to (right, top)
        GreyBand,      // filled and outlined in light grey
        Icon,          // the record's icon in the rectangle
    };
    Kind kind;
    int left, top, right, bottom;
    CString text;
    int page;
};

// One printed cell of a list row: the list column (1 to 13) and its text.
struct PrintCell {
    int column;
    CString text;
};

// One row of the record printout: a label with its colon and a value.
struct PrintRecordRow {
    CString label;
    CString value;
};

class CPrintLayout {
public:
    CPrintLayout(const PrintMetrics& metrics, PrintMeasure measure);

    // The viewport origin's y for a page: the strip moved up to its band.
    static int PageOriginY(int page, int pageHeight) { return -((page - 1) * pageHeight - 100); }

    // The title at (margin, 2 lines) with a rule under it, on page 1.
    void AddHeading(const CString& title);
    // The list from 5 lines down, rows in order. visibleColumns counts every
    // visible list column, the unprinted icon and attachment columns too;
    // each cell gets an equal share of the width, notes reach to the right
    // margin. Cells wrap at word boundaries; a word wider than its cell ends
    // with an ellipsis. The column headings (one per printed column, none
    // when empty) with a rule under them head the list on every page.
    void AddList(int visibleColumns, const std::vector<PrintCell>& headings,
                 const std::vector<std::vector<PrintCell>>& rows);
    // One record: the grey heading band with the icon and field 1, the rows
    // (category first) from line 7, then the notes' label and the wrapped
    // notes. labelWidth is the widest label as the details pane measures it.
    void AddRecord(const CString& title, const std::vector<PrintRecordRow>& rows, int labelWidth,
                   const CString& noteLabel, const CString& notes);

    const std::vector<PrintItem>& Items() const { return m_items; }
    // The page of the last item (1 for an empty report).
    int PageCount() const { return m_pages; }
    // The width of a list cell (never below one unit).
    int ListColumnWidth(int visibleColumns) const;

private:
    // The band's end in strip units for the page holding y.
    int PageOf(int y) const;
    int BandEnd(int page) const;
    // A text line of the given height starting at y, moved to the next
    // band (below its reserved top) when it would cross the end of its own;
    // returns its top.
    int PlaceLine(int y, int height) const;
    void Add(PrintItem::Kind kind, int left, int top, int right, int bottom, const CString& text);
    // Wraps the text into the width from x; returns the strip y below the
    // last line (y when the text is empty). wholeWords: a word wider than
    // the width stays on one line, ended with an ellipsis, instead of being
    // cut into lines.
    int AddWrapped(const CString& text, int left, int right, int y, bool wholeWords);
    // The cells' left and right edges, in the order of the given cells.
    std::vector<std::pair<int, int>> CellEdges(int visibleColumns, const std::vector<PrintCell>& cells) const;
    // The column headings at y with the rule under them.
    void AddListHeadings(int visibleColumns, const std::vector<PrintCell>& headings, int y);

    PrintMetrics m_metrics;
    PrintMeasure m_measure;
    std::vector<PrintItem> m_items;
    int m_pages = 1;
    // Kept free at the top of every band after the first (the list's
    // column headings).
    int m_bandReserve = 0;
};
