// The small copy buttons of the details pane, drawn from the program-wide
// strips and handing the main view the frame's activity on every click, and
// the panel splitter: a drag moves the lists beside it once the mouse next
// moves over one of the view's child displays.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/details/ZorvikanDetailView.h"
#include "mainwindow/icons/IconList.h"
#include "mainwindow/icons/IconListButton.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/WindowTexts.h"
#include "tests/support/MemoryCanvas.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"

namespace {

using zvtest::TestKey;

const COLORREF kGround = RGB(0, 200, 0);
// The pictures' own colours (app/res/view/make_view_bitmaps.py).
const COLORREF kFace = RGB(0xF0, 0xF0, 0xF0);
const COLORREF kPressedFace = RGB(0xD8, 0xD8, 0xD8);
const COLORREF kFrame = RGB(0xA0, 0xA0, 0xA0);

class ViewPanes : public zvtest::AppWindowTest {
protected:
    ViewPanes() : AppWindowTest("zvpanes") {}

    void WriteDatabase()
    {
        CUserItem* user = App().GetCurrentUser();
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(CAppPrefMgr::GetInstance()->GetUserDirectory(user)));
        auto* type = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        type->SetName("Bank");
        type->SetKey(TestKey(0x41).b);
        db.GetTypes().Add(type);
        for (const char* name : {"alpha", "Zeta"}) {
            auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
            record->SetTypeKey(TestKey(0x41).b);
            record->SetField(0, name);
            record->SetNotes(CString("notes of ") + name);
            db.GetRecords().Add(record);
        }
        ASSERT_EQ(0, db.Save());
    }

    CZorvikanDetailView& Pane() { return static_cast<CZorvikanDetailView&>(m_view->GetDetailsPane()); }

    // The button drawn as if Windows asked for it, into a 20 x 20 canvas.
    static void Draw(CIconListButton& button, bool pressed, zvtest::MemoryCanvas& canvas)
    {
        canvas.Fill(kGround);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = (UINT)button.GetDlgCtrlID();
        item.hwndItem = button.m_hWnd;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, 20, 20};
        item.itemState = pressed ? ODS_SELECTED : 0;
        button.DrawItem(&item);
    }

    static void Click(CWnd& button)
    {
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }

    static std::string ClipboardText() { return zvtest::ClipboardText(); }

    CRect ChildRect(CWnd& child)
    {
        CRect r;
        child.GetWindowRect(&r);
        m_view->ScreenToClient(&r);
        return r;
    }

    void Send(UINT message, WPARAM wParam, int x, int y)
    {
        ::SendMessageA(m_view->m_hWnd, message, wParam, MAKELPARAM(x, y));
    }
    void Post(UINT message, WPARAM wParam, int x, int y)
    {
        ::PostMessageA(m_view->m_hWnd, message, wParam, MAKELPARAM(x, y));
    }
};

TEST_F(ViewPanes, CopyButtonsDrawTheirStripCellsCentredWithTheKeyTransparent)
{
    OpenWindow();
    zvtest::MemoryCanvas canvas(20, 20);
    CIconListButton& copy = Pane().CopyButton(CZorvikanDetailView::kCopyNoteId);
    EXPECT_TRUE(copy.GetStyle() & BS_OWNERDRAW);
    EXPECT_EQ(0, copy.GetStripIndex());
    // A 12 x 13 cell in 20 x 20: from (4, 4); its outer ring is the key.
    struct Case {
        bool pressed;
        COLORREF face;
    } const cases[] = {{false, kFace}, {true, kPressedFace}};
    for (const Case& c : cases) {
        Draw(copy, c.pressed, canvas);
        EXPECT_EQ(c.face, canvas.At(4 + 9, 4 + 10)) << "pressed " << c.pressed;
        EXPECT_EQ(kGround, canvas.At(4, 4)) << "the key shows the ground, pressed " << c.pressed;
        EXPECT_EQ(kGround, canvas.At(3, 13)) << "left of the cell, pressed " << c.pressed;
        EXPECT_EQ(kGround, canvas.At(16, 13)) << "right of the cell, pressed " << c.pressed;
    }

    // The attachment button shows its own 14 x 14 picture (from (3, 3)) only
    // while pressed.
    CIconListButton& attachment = Pane().CopyButton(CZorvikanDetailView::kCopyAttachmentId);
    Draw(attachment, false, canvas);
    EXPECT_EQ(-1, canvas.FirstColumnNot(kGround, 0, 0, 20));
    Draw(attachment, true, canvas);
    EXPECT_EQ(kFrame, canvas.At(3 + 6, 3));
    EXPECT_EQ(kFrame, canvas.At(3, 3 + 6));
    EXPECT_EQ(kPressedFace, canvas.At(3 + 2, 3 + 2));
    EXPECT_EQ(kGround, canvas.At(2, 2));

    // Its background is the pane's: erasing paints nothing.
    canvas.Fill(kGround);
    EXPECT_EQ(1, copy.SendMessage(WM_ERASEBKGND, (WPARAM)canvas.Dc(), 0));
    EXPECT_EQ(-1, canvas.FirstColumnNot(kGround, 0, 0, 20));
}

TEST_F(ViewPanes, EveryClickOnACopyButtonMakesTheMainViewActiveAndStillClicks)
{
    WriteDatabase();
    OpenWindow();
    CRecord* selected = m_view->GetSelectedRecord();
    ASSERT_NE(nullptr, selected);
    m_view->ShowDetails(selected);
    CIconListButton& note = Pane().CopyButton(CZorvikanDetailView::kCopyNoteId);
    ASSERT_TRUE(note.GetStyle() & WS_VISIBLE);

    // Each button message on its own (the right button's release is left
    // out: its default processing opens the record menu).
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK}) {
        m_frame->SetActiveView(nullptr, FALSE);
        note.SendMessage(message, 0, MAKELPARAM(2, 2));
        if (::GetCapture() == note.m_hWnd) ::ReleaseCapture();
        EXPECT_EQ(m_view, m_frame->GetActiveView()) << "message " << message;
    }

    // The left click still reaches the pane as the button's command.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    Click(note);
    EXPECT_EQ(std::string(selected->GetNotes()), ClipboardText());
}

TEST_F(ViewPanes, APanelSplitterDragMovesTheListsAtTheNextChildMouseMove)
{
    WriteDatabase();
    OpenWindow();
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    ASSERT_EQ(kViewModePanel, m_view->GetViewMode());
    const CRect records = ChildRect(m_view->GetPanelRecords());
    const CRect types = ChildRect(m_view->GetPanelTypes());
    const CRect smart = ChildRect(m_view->GetPanelSmartLists());
    const int y = records.top + 40;
    const int line = records.left - 4;
    const int to = line - 60;

    // Over the strip the splitter takes its line; the drag runs on the
    // queued moves and ends with the release.
    Send(WM_MOUSEMOVE, 0, line, y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, to + 20, y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, to, y);
    Post(WM_LBUTTONUP, 0, to, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, line, y);
    EXPECT_EQ(records, ChildRect(m_view->GetPanelRecords())) << "nothing moves over the view's own background";

    ::SendMessageA(m_view->m_hWnd, WM_CHILDLIST_MOUSEMOVE, 0, 0);
    const CRect moved = ChildRect(m_view->GetPanelRecords());
    EXPECT_EQ(CRect(to + 7, records.top, records.right, records.bottom), moved);
    EXPECT_EQ(CRect(types.left, types.top, to - 5, types.bottom), ChildRect(m_view->GetPanelTypes()));
    EXPECT_EQ(CRect(smart.left, smart.top, to - 5, smart.bottom), ChildRect(m_view->GetPanelSmartLists()));
    const UINT strip[3] = {ID_NEW_ITEM, ID_DUPLICATE_ITEM, ID_SHOW_DETAILS};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(moved.left + 29 * i, ChildRect(*m_view->GetToolButton(strip[i])).left) << "button " << i;

    // Applied once: a later move over a child changes nothing.
    ::SendMessageA(m_view->m_hWnd, WM_CHILDLIST_MOUSEMOVE, 0, 0);
    EXPECT_EQ(moved, ChildRect(m_view->GetPanelRecords()));

    // A click on the background between the drag and the next child move
    // throws the drag away.
    const int back = to + 7 - 4;
    Send(WM_MOUSEMOVE, 0, back, y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, back + 30, y);
    Post(WM_LBUTTONUP, 0, back + 30, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, back, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
    ::SendMessageA(m_view->m_hWnd, WM_CHILDLIST_MOUSEMOVE, 0, 0);
    EXPECT_EQ(moved, ChildRect(m_view->GetPanelRecords()));
}

// Back from the panel to the list, where the panel's strip buttons stood
// only the view's own face is drawn: no picture of a button left behind.
TEST_F(ViewPanes, TheListShowsNoStripButtonWhereThePanelHadThem)
{
    WriteDatabase();
    OpenWindow();
    m_frame->ShowWindow(SW_SHOW);
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    m_view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<CRect> panelSlots;
    for (UINT id : {(UINT)ID_NEW_ITEM, (UINT)ID_DUPLICATE_ITEM, (UINT)ID_SHOW_DETAILS})
        panelSlots.push_back(ChildRect(*m_view->GetToolButton(id)));
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_LIST, 0);
    m_view->UpdateWindow();
    zvtest::PumpPendingMessages();
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    HDC dc = ::GetDC(m_view->m_hWnd);
    int looked = 0;
    for (const CRect& slot : panelSlots) {
        // Unless a button of the list's own stands there now.
        bool covered = false;
        for (HWND child = ::GetWindow(m_view->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(child)) continue;
            CRect r, overlap;
            ::GetWindowRect(child, &r);
            m_view->ScreenToClient(&r);
            covered |= overlap.IntersectRect(&r, &slot) != FALSE;
        }
        if (covered) continue;
        ++looked;
        int stale = 0;
        for (int y = slot.top; y < slot.bottom; ++y)
            for (int x = slot.left; x < slot.right; ++x) stale += ::GetPixel(dc, x, y) != face;
        EXPECT_EQ(0, stale) << slot.left << "," << slot.top;
    }
    ::ReleaseDC(m_view->m_hWnd, dc);
    EXPECT_GT(looked, 0);
}

// The splitter strips carry their grip (twelve short black lines, three
// pixels apart, from 18 above the middle) on the button face, beside the
// details and between the panel's columns; the display area has its border.
TEST_F(ViewPanes, SplitterStripsShowTheirGripAndTheDisplayAreaItsBorder)
{
    WriteDatabase();
    OpenWindow();
    m_frame->ShowWindow(SW_SHOW);
    ASSERT_TRUE(m_view->IsShowingDetails());
    auto gripAt = [this](HDC dc, int left, int top, int bottom) {
        const int first = (top + bottom) / 2 - 18;
        int lines = 0, gaps = 0;
        for (int i = 0; i < 12; ++i) {
            bool whole = true;
            for (int x = left + 2; x < left + 10; ++x)
                whole = whole && ::GetPixel(dc, x, first + 3 * i) == RGB(0, 0, 0);
            lines += whole ? 1 : 0;
            gaps += ::GetPixel(dc, left + 5, first + 3 * i + 1) == ::GetSysColor(COLOR_BTNFACE) ? 1 : 0;
        }
        return std::make_pair(lines, gaps);
    };
    m_view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const CRect details = m_view->GetDetailsRect();
    const CRect display = m_view->GetListRect();
    HDC dc = ::GetDC(m_view->m_hWnd);
    const auto grip = gripAt(dc, details.left, details.top, details.bottom);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    const int middle = (display.top + display.bottom) / 2;
    const COLORREF border[] = {::GetPixel(dc, display.left - 1, middle), ::GetPixel(dc, display.right, middle),
                               ::GetPixel(dc, (display.left + display.right) / 2, display.bottom)};
    ::ReleaseDC(m_view->m_hWnd, dc);
    EXPECT_EQ(12, grip.first);
    EXPECT_EQ(12, grip.second);
    for (COLORREF c : border) EXPECT_EQ(shadow, c);

    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    m_view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const CRect records = ChildRect(m_view->GetPanelRecords());
    dc = ::GetDC(m_view->m_hWnd);
    const auto panelGrip = gripAt(dc, records.left - kSplitterStripWidth, display.top, display.bottom);
    ::ReleaseDC(m_view->m_hWnd, dc);
    EXPECT_EQ(12, panelGrip.first);
    EXPECT_EQ(12, panelGrip.second);
}

}  // namespace
