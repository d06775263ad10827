#pragma once
// CZorvikanDetailView: the details pane's window at the right of the main
// view. It draws nothing itself (the main view draws the selected record
// into it), scrolls vertically, opens links, shows the hand over them, edits
// the record on a double click and carries the copy buttons beside the rows:
// the category, each field shown, the attachment and the note.
#include "framework/Controls.h"
#include "framework/Wnd.h"
#include "mainwindow/icons/IconListButton.h"

class CRecord;
class CZorvikanDesktopView;

class CZorvikanDetailView : public CWnd {
public:
    // Copy buttons: the category, fields by row (2100 + row), the note and
    // the attachment.
    static constexpr UINT kCopyCategoryId = 32838;
    static constexpr UINT kCopyFieldFirstId = 2100;
    static constexpr UINT kCopyNoteId = 32815;
    static constexpr UINT kCopyAttachmentId = CIconListButton::kAttachmentButtonId;

    explicit CZorvikanDetailView(CZorvikanDesktopView& view);

    BOOL Create(const RECT& rect, CWnd* pParent, UINT nID);
    // Places and shows the copy buttons for the record's rows (none for
    // null) and repaints.
    void ShowRecord(const CRecord* record, int headingHeight, int lineHeight);
    int GetScrollY() const { return m_scrollY; }
    // The buttons' windows, for tests.
    CIconListButton& CopyButton(UINT id);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void Scroll(int to);
    void OnCommand(UINT id);
    void SetExtent(int extent);

    CZorvikanDesktopView& m_view;
    CIconListButton m_copyCategory;
    CIconListButton m_copyFields[10];
    CIconListButton m_copyNote;
    CIconListButton m_copyAttachment;
    int m_scrollY = 0;
    int m_extent = 0;
};
