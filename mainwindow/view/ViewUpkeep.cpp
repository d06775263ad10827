// The main view's upkeep: the mode commands' states, the custom icons and
// the icon image list, the splitter limits and cursor, Tab between the
// panel's lists, the details heading's colour.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <shellapi.h>

#include "app/res/Resource.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/prefs/AppPrefMgr.h"
#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/icons/ChooseIconDlg.h"
#include "mainwindow/icons/IconCatalog.h"
#include "mainwindow/icons/IconRepair.h"
#include "mainwindow/upkeep/ViewUpkeepRules.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr COLORREF kIconKey = RGB(0xFC, 0xCC, 0xFC);
constexpr int kIconCellWidth = 19;
constexpr int kIconCellHeight = 15;
// Attempts to close the dialogs over the frame before giving up the exit.
constexpr int kMaxExitAttempts = 50;

ViewRect ToViewRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void Apply(CSplitterBar& bar, const SplitterLimits& s)
{
    bar.SetLine({s.line.x, s.line.top}, {s.line.x, s.line.bottom});
    bar.SetMinLine({s.minLine.x, s.minLine.top}, {s.minLine.x, s.minLine.bottom});
    bar.SetMaxLine({s.maxLine.x, s.maxLine.top}, {s.maxLine.x, s.maxLine.bottom});
    bar.SetClipRect(RECT{s.clip.left, s.clip.top, s.clip.right, s.clip.bottom});
}

// What the icon chooser asks of the view.
class CViewIconChooserHost : public IIconChooserHost {
public:
    explicit CViewIconChooserHost(CZorvikanDesktopView& view) : m_view(view) {}
    CString GetIconsFolder() override { return m_view.GetIconsFolder(); }
    CExternalIconResList& GetCustomIcons() override { return m_view.GetCustomIcons(); }
    bool DrawItemIcon(CDC* pDC, const CRect& rect, int id) override { return m_view.DrawItemIcon(pDC, rect, id); }
    void AddCustomIconFile(const CString& fileName) override { m_view.AddCustomIconFile(fileName); }
    void RebuildIconImageList() override { m_view.RebuildIconImageList(); }
    void ShowFileInExplorer(const CString& path) override
    {
        const CString parameters = "/Select," + path;
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "Open";
        info.lpFile = "Explorer.exe";
        info.lpParameters = parameters;
        info.nShow = SW_SHOWNORMAL;
        ::ShellExecuteExA(&info);
    }
    void RequestExit() override { m_view.PostMessage(WM_CLOSE_FOR_ICON_DELETION, 0, 0); }

private:
    CZorvikanDesktopView& m_view;
};

}  // namespace

void CZorvikanDesktopView::OnUpdateTreeView(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModeCommandEnabled(kModeCommandTree, m_nViewMode));
}

void CZorvikanDesktopView::OnUpdatePanelView(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModeCommandEnabled(kModeCommandPanel, m_nViewMode));
}

void CZorvikanDesktopView::OnUpdateListView(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModeCommandEnabled(kModeCommandList, m_nViewMode));
}

void CZorvikanDesktopView::OnUpdateSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModeCommandEnabled(kModeCommandSelectAll, m_nViewMode));
}

CString CZorvikanDesktopView::GetIconsFolder()
{
    CUserItem* user = CurrentUser();
    return user ? CAppPrefMgr::GetInstance()->GetIconsDirectory(user) : CString();
}

void CZorvikanDesktopView::ReloadCustomIcons()
{
    const CString folder = GetIconsFolder();
    if (folder.IsEmpty())
        m_customIcons.RemoveAllIcons();
    else
        m_customIcons.Rescan(folder);
}

void CZorvikanDesktopView::AddCustomIconFile(const CString& fileName)
{
    m_customIcons.AddFile(JoinPath(GetIconsFolder(), fileName));
}

void CZorvikanDesktopView::RebuildIconImageList()
{
    const int last = ImageListLastId(m_customIcons.GetIds());
    const int width = (last + 1) * kIconCellWidth;
    HDC screen = ::GetDC(m_hWnd);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP cells = ::CreateCompatibleBitmap(screen, width, kIconCellHeight);
    if (cells) {
        HGDIOBJ old = ::SelectObject(mem, cells);
        const RECT all{0, 0, width, kIconCellHeight};
        HBRUSH key = ::CreateSolidBrush(kIconKey);
        ::FillRect(mem, &all, key);
        ::DeleteObject(key);
        CBitmap strip;
        if (strip.LoadBitmap(IDB_SMALL_ICONS)) {
            HDC stripDc = ::CreateCompatibleDC(screen);
            HGDIOBJ oldStrip = ::SelectObject(stripDc, strip.m_hObject);
            ::BitBlt(mem, 0, 0, kBuiltInIconCount * kIconCellWidth, kIconCellHeight, stripDc, 0, 0, SRCCOPY);
            ::SelectObject(stripDc, oldStrip);
            ::DeleteDC(stripDc);
        }
        CDC* dc = CDC::FromHandle(mem);
        for (int i = 0; i < m_customIcons.GetIconCount(); ++i) {
            CExternalIconRes* icon = m_customIcons.GetAt(i);
            const int id = icon->GetId();
            // Built-in ids keep their own pictures; ids past the bound have
            // no cell (ImageListLastId).
            if (id < kBuiltInIconCount || id > kMaxImageListIconId) continue;
            icon->Draw(dc, id * kIconCellWidth, 0, id * kIconCellWidth + kIconCellWidth, kIconCellHeight);
        }
        ::SelectObject(mem, old);
    }
    m_smallIcons.DeleteImageList();
    m_smallIcons.Create(kIconCellWidth, kIconCellHeight, ILC_COLOR32 | ILC_MASK, 0, 1);
    if (cells) m_smallIcons.Add(cells, kIconKey);
    if (cells) ::DeleteObject(cells);
    ::DeleteDC(mem);
    ::ReleaseDC(m_hWnd, screen);

    if (m_recordList.m_hWnd)
        if (CHeaderCtrl* header = m_recordList.GetHeaderCtrl()) header->SetImageList(&m_smallIcons);
    if (m_panelTypes.m_hWnd) m_panelTypes.SetImageList(&m_smallIcons, LVSIL_SMALL);
    if (m_panelSmartLists.m_hWnd) m_panelSmartLists.SetImageList(&m_smallIcons, LVSIL_SMALL);
    if (m_tree.m_hWnd) m_tree.SetImageList(&m_smallIcons, TVSIL_NORMAL);
}

void CZorvikanDesktopView::RepairMissingCustomIcons()
{
    const CString folder = GetIconsFolder();
    if (folder.IsEmpty()) return;
    const int changed = ResetMissingCustomIcons(
        m_database, [&folder](const std::string& name) { return FileExists(JoinPath(folder, name.c_str())); });
    if (changed > 0) m_database.Save();
}

bool CZorvikanDesktopView::DrawItemIcon(CDC* pDC, const CRect& rect, int id)
{
    if (!pDC) return false;
    if (id >= 0 && id < kBuiltInIconCount) {
        if (!m_typeIconStrips.IsLoaded()) m_typeIconStrips.Load();
        return m_typeIconStrips.Draw(pDC->GetSafeHdc(), rect, id);
    }
    CExternalIconRes* icon = id >= 0 && id <= 0xFFFF ? m_customIcons.FindById((WORD)id) : nullptr;
    if (!icon) return false;
    icon->Draw(pDC, rect.left, rect.top, rect.right, rect.bottom);
    return true;
}

bool CZorvikanDesktopView::ChooseIcon(int& id, CWnd* parent)
{
    CViewIconChooserHost host(*this);
    CChooseIconDlg dlg(host, parent ? parent : this);
    dlg.SelectIconId(id);
    if (dlg.DoModal() != IDOK) return false;
    id = dlg.GetSelectedIconId();
    return true;
}

LRESULT CZorvikanDesktopView::OnCloseForIconDeletion(WPARAM, LPARAM)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame) return 0;
    if (::IsWindowEnabled(frame->m_hWnd)) {
        m_nExitAttempts = 0;
        frame->PostMessage(WM_CLOSE, 0, 0);
        return 0;
    }
    // A dialog is still open over the frame: cancel it (what it held is not
    // saved) and look again.
    if (++m_nExitAttempts > kMaxExitAttempts) {
        m_nExitAttempts = 0;
        return 0;
    }
    HWND popup = ::GetLastActivePopup(frame->m_hWnd);
    if (popup && popup != frame->m_hWnd) ::PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
    PostMessage(WM_CLOSE_FOR_ICON_DELETION, 0, 0);
    return 0;
}

void CZorvikanDesktopView::PrepareDetailsSplitter()
{
    RECT client{};
    GetClientRect(&client);
    const ViewRect details = GetGeometry().DetailsArea();
    ViewRect records;
    const bool panel = m_panelRecords.m_hWnd != nullptr;
    if (panel) {
        RECT r{};
        m_panelRecords.GetWindowRect(&r);
        ScreenToClient(&r);
        records = ToViewRect(r);
    }
    Apply(m_detailsSplitter, DetailsSplitterLimits(ToViewRect(client), details, panel ? &records : nullptr));
}

void CZorvikanDesktopView::PreparePanelSplitter()
{
    if (!m_panelRecords.m_hWnd) return;
    RECT client{}, r{};
    GetClientRect(&client);
    m_panelRecords.GetWindowRect(&r);
    ScreenToClient(&r);
    Apply(m_panelSplitter, PanelSplitterLimits(ToViewRect(client), ToViewRect(r)));
}

BOOL CZorvikanDesktopView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_detailsSplitter.OnSetCursor(this, nHitTest)) return TRUE;
    if (m_nViewMode == kViewModePanel && m_panelSplitter.OnSetCursor(this, nHitTest)) return TRUE;
    return CView::OnSetCursor(pWnd, nHitTest, message);
}

void CZorvikanDesktopView::SelectPanelRow(CListCtrlEx& list, int row)
{
    if (row < 0) row = 0;
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetFocus();
}

namespace {

PanelPane PaneOf(HWND focus, HWND types, HWND records, HWND smart)
{
    if (focus && focus == types) return kPaneTypes;
    if (focus && focus == records) return kPaneRecords;
    if (focus && focus == smart) return kPaneSmartLists;
    return kPaneNone;
}

}  // namespace

bool CZorvikanDesktopView::FocusNextPane()
{
    if (m_nViewMode != kViewModePanel) return FocusModeDisplay();
    if (!m_panelTypes.m_hWnd) return false;
    const PanelPane from = PaneOf(::GetFocus(), m_panelTypes.m_hWnd, m_panelRecords.m_hWnd, m_panelSmartLists.m_hWnd);
    switch (NextPanelPane(from, true)) {
    case kPaneRecords: SelectPanelRow(m_panelRecords, 0); break;
    case kPaneSmartLists:
        SelectPanelRow(m_panelSmartLists, 0);
        ShowDetails(GetSelectedRecord());
        UpdateRecordButtons(GetSelectedRecord());
        break;
    default:
        SelectPanelRow(m_panelTypes, m_panelTypes.GetNextItem(-1, LVNI_SELECTED));
        FillPanelRecords(nullptr);
        ShowDetails(GetSelectedRecord());
        break;
    }
    return true;
}

bool CZorvikanDesktopView::FocusPreviousPane()
{
    if (m_nViewMode != kViewModePanel) return FocusModeDisplay();
    if (!m_panelTypes.m_hWnd) return false;
    const PanelPane from = PaneOf(::GetFocus(), m_panelTypes.m_hWnd, m_panelRecords.m_hWnd, m_panelSmartLists.m_hWnd);
    switch (NextPanelPane(from, false)) {
    case kPaneSmartLists: {
        int row = m_panelSmartLists.GetNextItem(-1, LVNI_SELECTED);
        if (row < 0) row = 0;
        SelectPanelRow(m_panelSmartLists, row);
        ShowSmartList(row);
        break;
    }
    case kPaneTypes:
        SelectPanelRow(m_panelTypes, m_panelTypes.GetNextItem(-1, LVNI_SELECTED));
        FillPanelRecords(nullptr);
        ShowDetails(GetSelectedRecord());
        UpdateRecordButtons(GetSelectedRecord());
        break;
    default:
        SelectPanelRow(m_panelRecords, 0);
        ShowDetails(GetSelectedRecord());
        break;
    }
    return true;
}

bool CZorvikanDesktopView::FocusModeDisplay()
{
    CWnd& display = m_nViewMode == kViewModeTree ? static_cast<CWnd&>(m_tree) : static_cast<CWnd&>(m_recordList);
    if (!display.m_hWnd) return false;
    display.SetFocus();
    return true;
}

COLORREF CZorvikanDesktopView::GetHeadingColour() const
{
    return (COLORREF)HeadingColourOf((uint32_t)m_viewState.rowColor);
}
