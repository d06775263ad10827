#include "mainwindow/icons/ChooseIconDlg.h"

#include <vector>

#include "app/res/ChooseIconRes.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "framework/CommonDialogs.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "mainwindow/icons/ExternalIcons.h"

namespace {

constexpr int kGridCells = 64;
// The file dialog's buffer: room for many pictures chosen at once.
constexpr size_t kFileBufferSize = 26101;

}  // namespace

BEGIN_MESSAGE_MAP(CChooseIconDlg, CDialog)
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_VSCROLL()
    ON_BN_CLICKED(IDC_ADD_ICON, &CChooseIconDlg::OnAddIcon)
    ON_BN_CLICKED(IDC_DELETE_ICON, &CChooseIconDlg::OnDeleteIcon)
END_MESSAGE_MAP()

CChooseIconDlg::CChooseIconDlg(IIconChooserHost& host, CWnd* pParent) : CDialog(IDD_CHOOSE_ICON, pParent), m_host(host)
{
    m_model.SetCustomIds(m_host.GetCustomIcons().GetIds());
}

void CChooseIconDlg::SelectIconId(int id) { m_model.SelectIconId(id); }

void CChooseIconDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ICON_SCROLL, m_scroll);
}

BOOL CChooseIconDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateScroll();
    EnableDelete();
    return TRUE;
}

void CChooseIconDlg::EnableDelete()
{
    if (CWnd* button = GetDlgItem(IDC_DELETE_ICON)) button->EnableWindow(m_model.CanDeleteSelected());
}

CRect CChooseIconDlg::CellRect(int cell) const
{
    CRect rect;
    if (CWnd* button = GetDlgItem(IDC_ICON_CELL_FIRST + cell)) {
        button->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CChooseIconDlg::UpdateScroll()
{
    m_model.SetCustomIds(m_host.GetCustomIcons().GetIds());
    const CIconChooserModel::Scroll s = m_model.ComputeScroll();
    int position = s.position;
    if (m_scroll.m_hWnd) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = s.maxRow;
        info.nPage = (UINT)s.page;
        info.nPos = s.position;
        ::SetScrollInfo(m_scroll.m_hWnd, SB_CTL, &info, TRUE);
        ::EnableScrollBar(m_scroll.m_hWnd, SB_CTL, s.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
        position = m_scroll.GetScrollPos();
    }
    m_model.SetScrollPosition(position);
    if (m_hWnd) Invalidate(FALSE);
}

void CChooseIconDlg::OnPaint()
{
    CPaintDC dc(this);
    PaintGrid(&dc);
}

void CChooseIconDlg::PaintGrid(CDC* pDC)
{
    HDC hdc = pDC->GetSafeHdc();
    CExternalIconResList& icons = m_host.GetCustomIcons();
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    for (int i = 0; i < kGridCells; ++i) {
        const int index = m_model.GetFirstVisible() + i;
        const CRect cell = CellRect(i);
        ::FillRect(hdc, &cell, face);
        if (index < kBuiltInIconCount) {
            m_host.DrawItemIcon(pDC, cell, BuiltInGridCell(index));
        } else if (index < m_model.GetTotal()) {
            if (CExternalIconRes* icon = icons.GetAt(index - kBuiltInIconCount))
                icon->Draw(pDC, cell.left + 3, cell.top + 3, cell.right - 3, cell.bottom - 3);
        }
        if (index == m_model.GetSelectedIndex()) {
            HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
            HGDIOBJ oldPen = ::SelectObject(hdc, pen);
            HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(hdc, cell.left, cell.top, cell.right, cell.bottom);
            ::SelectObject(hdc, oldBrush);
            ::SelectObject(hdc, oldPen);
            ::DeleteObject(pen);
        }
    }
}

void CChooseIconDlg::OnLButtonUp(UINT nFlags, CPoint point)
{
    for (int i = 0; i < kGridCells; ++i) {
        const int index = m_model.GetFirstVisible() + i;
        if (index >= m_model.GetTotal()) break;
        const CRect cell = CellRect(i);
        if (!cell.PtInRect(point)) continue;
        const int previous = m_model.GetSelectedIndex() - m_model.GetFirstVisible();
        m_model.SetSelectedIndex(index);
        if (previous >= 0 && previous < kGridCells) {
            const CRect old = CellRect(previous);
            InvalidateRect(&old, FALSE);
        }
        InvalidateRect(&cell, FALSE);
        EnableDelete();
        break;
    }
    CDialog::OnLButtonUp(nFlags, point);
}

void CChooseIconDlg::OnLButtonDown(UINT nFlags, CPoint point) { CDialog::OnLButtonDown(nFlags, point); }

void CChooseIconDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (m_scroll.m_hWnd) {
        const int current = m_scroll.GetScrollPos();
        int target = current;
        bool always = false;
        switch (nSBCode) {
        case SB_LINEUP: target = current - 1; break;
        case SB_LINEDOWN: target = current + 1; break;
        case SB_PAGEUP: target = current - 8, always = true; break;
        case SB_PAGEDOWN: target = current + 8, always = true; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: target = (int)nPos, always = true; break;
        case SB_TOP: target = 0; break;
        case SB_BOTTOM: {
            int low = 0, high = 0;
            ::GetScrollRange(m_scroll.m_hWnd, SB_CTL, &low, &high);
            target = high;
            break;
        }
        case SB_ENDSCROLL: target = (int)nPos; break;
        default: break;
        }
        // Requests that carry no position (0) only move when the new
        // position differs from that 0.
        if (always || target != (int)nPos) {
            m_scroll.SetScrollPos(target);
            m_model.SetScrollPosition(m_scroll.GetScrollPos());
            Invalidate(FALSE);
        }
    }
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}

int CChooseIconDlg::AddPictures(const std::vector<CString>& pictures)
{
    const CString folder = m_host.GetIconsFolder();
    int last = 0;
    for (const CString& picture : pictures) {
        const int n = NextFreeIconNumber(
            [&folder](const std::string& name) { return FileExists(JoinPath(folder, name.c_str())); });
        if (n == 0) break;
        const CString name(IconFileName(n).c_str());
        // The full path: the process's current folder is not ours to move.
        SavePictureAsIcon(picture, JoinPath(folder, name));
        m_host.AddCustomIconFile(name);
        last = n;
    }
    UpdateScroll();
    m_host.RebuildIconImageList();
    if (last != 0) {
        m_model.SelectIconId(last);
        UpdateScroll();
        EnableDelete();
    }
    return last;
}

void CChooseIconDlg::OnAddIcon()
{
    CFileDialog dialog(TRUE, "(*.JPG;*.JPEG;*.BMP;*.PNG;)", nullptr,
                       OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST,
                       "Image Files (*.*)|*.*||", this);
    std::vector<char> buffer(kFileBufferSize, '\0');
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = (DWORD)buffer.size();
    if (dialog.DoModal() != IDOK) {
        UpdateScroll();
        m_host.RebuildIconImageList();
        return;
    }
    std::vector<CString> pictures;
    for (const std::string& path : SplitChosenFiles(buffer.data(), buffer.size())) pictures.emplace_back(path.c_str());
    AddPictures(pictures);
}

void CChooseIconDlg::OnDeleteIcon()
{
    const int id = m_model.GetSelectedIconId();
    if (!m_model.CanDeleteSelected() || id < kFirstAddedIconNumber) return;
    const int answer = AfxMessageBox(
        "To delete an icon, you would need to exit Zorvikan Desktop.\nOnce Zorvikan closes, drag the selected icon to "
        "the Recycle\nBin, and it will be deleted from Zorvikan desktop.\n\nAre you sure you want to exit and proceed "
        "to delete?",
        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return;
    m_host.ShowFileInExplorer(JoinPath(m_host.GetIconsFolder(), CString(IconFileName(id).c_str())));
    // The program closes the ordinary way, once this dialog and those under
    // it are gone: nothing is cut off half-saved and temporary files go.
    m_exitRequested = true;
    m_host.RequestExit();
    EndDialog(IDCANCEL);
}
