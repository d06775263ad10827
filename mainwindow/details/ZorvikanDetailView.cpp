// The details pane's window.
#include "mainwindow/details/ZorvikanDetailView.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "app/res/RecordListRes.h"
#include "core/items/Record.h"
#include "core/items/UniqueList.h"
#include "framework/ResourceModuleWin.h"
#include "mainwindow/details/DetailsLayout.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "toolkit/ToolkitIds.h"

namespace {

const char kPaneClass[] = "ZorvikanDetailPane";
const int kButtonWidth = 12;

void RegisterPaneClass()
{
    WNDCLASSA wc{};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), kPaneClass, &wc)) return;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kPaneClass;
    ::RegisterClassA(&wc);
}

}  // namespace

CZorvikanDetailView::CZorvikanDetailView(CZorvikanDesktopView& view) : m_view(view) {}

BOOL CZorvikanDetailView::Create(const RECT& rect, CWnd* pParent, UINT nID)
{
    RegisterPaneClass();
    if (!CreateEx(0, kPaneClass, "CZorvikanDesktopView", WS_CHILD | WS_VISIBLE | WS_VSCROLL, rect, pParent, nID))
        return FALSE;
    const RECT none{0, 0, kButtonWidth, 10};
    // Hidden until a record's rows place them.
    m_copyCategory.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kCopyCategoryId);
    for (int i = 0; i < 10; ++i) m_copyFields[i].Create("", WS_CHILD | BS_OWNERDRAW, none, this, kCopyFieldFirstId + i);
    m_copyNote.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kCopyNoteId);
    m_copyAttachment.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kCopyAttachmentId);
    return TRUE;
}

CIconListButton& CZorvikanDetailView::CopyButton(UINT id)
{
    if (id == kCopyCategoryId) return m_copyCategory;
    if (id == kCopyNoteId) return m_copyNote;
    if (id == kCopyAttachmentId) return m_copyAttachment;
    return m_copyFields[std::min<UINT>(id - kCopyFieldFirstId, 9)];
}

void CZorvikanDetailView::ShowRecord(const CRecord* record, int headingHeight, int lineHeight)
{
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    const int left = client.right - 15;
    const int top = client.top - m_scrollY;
    const int body = top + headingHeight + 11;
    for (CIconListButton& button : m_copyFields) button.ShowWindow(SW_HIDE);
    m_copyCategory.ShowWindow(record ? SW_SHOW : SW_HIDE);
    m_copyCategory.MoveWindow(left, body, kButtonWidth, lineHeight);
    int row = 0;
    if (record) {
        // Field 1 on the heading, the other non-empty fields on the rows
        // below the category, as the pane draws them.
        if (record->HasFieldText(0)) {
            m_copyFields[0].MoveWindow(left, top + 3, kButtonWidth, headingHeight);
            m_copyFields[0].ShowWindow(SW_SHOW);
        }
        for (int i = 1; i < kItemFieldCount; ++i) {
            if (!record->HasFieldText(i)) continue;
            ++row;
            CIconListButton& button = m_copyFields[row];
            button.MoveWindow(left, body + row * lineHeight, kButtonWidth, lineHeight);
            button.ShowWindow(SW_SHOW);
        }
        if (record->HasAttachment()) {
            ++row;
            m_copyAttachment.MoveWindow(left, body + row * lineHeight, kButtonWidth, lineHeight);
        }
    }
    m_copyAttachment.ShowWindow(record && record->HasAttachment() ? SW_SHOW : SW_HIDE);
    m_copyNote.MoveWindow(left, body + (row + 1) * lineHeight + 12, kButtonWidth, lineHeight);
    m_copyNote.ShowWindow(record && !record->GetNotes().IsEmpty() ? SW_SHOW : SW_HIDE);
    Invalidate();
}

void CZorvikanDetailView::SetExtent(int extent)
{
    m_extent = extent;
    CRect client;
    GetClientRect(&client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, extent);
    info.nPage = (UINT)std::max<long>(1, client.Height());
    if (m_scrollY > std::max(0, extent - (int)client.Height())) m_scrollY = std::max(0, extent - (int)client.Height());
    info.nPos = m_scrollY;
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CZorvikanDetailView::Scroll(int to)
{
    CRect client;
    GetClientRect(&client);
    const int most = std::max(0, m_extent - (int)client.Height());
    to = std::max(0, std::min(to, most));
    if (to == m_scrollY) return;
    m_scrollY = to;
    ::SetScrollPos(m_hWnd, SB_VERT, m_scrollY, TRUE);
    m_view.ShowDetails(m_view.GetSelectedRecord());
}

void CZorvikanDetailView::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    const int extent = m_view.DrawDetailsPane(dc, client, m_scrollY);
    ::EndPaint(m_hWnd, &ps);
    if (extent != m_extent) SetExtent(extent);
}

void CZorvikanDetailView::OnCommand(UINT id)
{
    CRecord* record = m_view.GetSelectedRecord();
    if (!record) return;
    if (id == kCopyNoteId) {
        m_view.CopyTextToClipboard(record->GetNotes());
    } else if (id == kCopyCategoryId) {
        m_view.CopyTextToClipboard(m_view.GetDatabase().GetCategories().GetNameByKey(record->GetCategoryKey()));
    } else if (id == kCopyAttachmentId) {
        m_view.SaveAttachment(record);
    } else if (id >= kCopyFieldFirstId && id <= kCopyFieldFirstId + 10) {
        const int field = FieldOfCopyButton(*record, (int)(id - kCopyFieldFirstId));
        if (field >= 0) m_view.CopyTextToClipboard(record->GetFieldDisplayText(field, false));
    }
}

LRESULT CZorvikanDetailView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
        return 0;
    case WM_VSCROLL: {
        CRect client;
        GetClientRect(&client);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: Scroll(m_scrollY - 16); break;
        case SB_LINEDOWN: Scroll(m_scrollY + 16); break;
        case SB_PAGEUP: Scroll(m_scrollY - client.Height()); break;
        case SB_PAGEDOWN: Scroll(m_scrollY + client.Height()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: Scroll(HIWORD(wParam)); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: Scroll(m_scrollY - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 48); return 0;
    case WM_LBUTTONDBLCLK:
        if (CRecord* record = m_view.GetSelectedRecord()) m_view.EditRecord(record);
        return 0;
    case WM_MOUSEMOVE: {
        const POINT point{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (m_view.LinkAtPane(point))
            ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINK_HAND)));
        // A splitter drag that ends over the pane takes effect now.
        if (CWnd* parent = GetParent()) parent->SendMessage(WM_CHILDLIST_MOUSEMOVE, 0, 0);
        break;
    }
    case WM_LBUTTONUP: {
        const POINT point{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        // Only web, ftp and mail addresses are ever opened.
        if (const CString* address = m_view.LinkAtPane(point))
            ::ShellExecuteA(m_hWnd, "open", *address, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
