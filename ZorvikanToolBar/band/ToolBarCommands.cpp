// The tool bar's commands: the drop-down menu and its web logins, the search
// pop-up, opening a picked web login, adding the current page, the home page
// and the user guide.
#include <windows.h>
#include <shellapi.h>

#include "ZorvikanToolBar/band/BandWindows.h"
#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "ZorvikanToolBar/com/ToolBarModule.h"
#include "ZorvikanToolBar/link/AppCommunicator.h"
#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "core/items/Record.h"
#include "core/link/WebLoginRecord.h"
#include "core/os/FileUtils.h"

const char* const CZorvikToolBarWnd::kHomePage = "https://www.corvantide.example/";

namespace {

void TrackPopup(HMENU popup, int x, int y, HWND owner)
{
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, owner, nullptr);
}

CZorvikToolBarWnd::PopupShower g_showPopup = &TrackPopup;

// A menu text shows the name as it stands: an ampersand is no mnemonic.
CString MenuText(const CString& name)
{
    CString text = name;
    text.Replace("&", "&&");
    return text;
}

// The leading whole characters of text that fit in bytes bytes of the ANSI
// code page (a double-byte character is never split).
CString CutToBytes(const CString& text, int bytes)
{
    const char* s = text.GetString();
    int length = text.GetLength(), end = 0;
    while (end < length) {
        int step = IsDBCSLeadByte(static_cast<BYTE>(s[end])) && end + 1 < length ? 2 : 1;
        if (end + step > bytes) break;
        end += step;
    }
    return text.Left(end);
}

}  // namespace

CZorvikToolBarWnd::PopupShower CZorvikToolBarWnd::SetPopupShower(PopupShower shower)
{
    PopupShower old = g_showPopup;
    g_showPopup = shower ? shower : &TrackPopup;
    return old;
}

bool CZorvikToolBarWnd::OnCommand(UINT id, LRESULT& result)
{
    result = 0;
    if (id <= ID_WEB_LOGIN_LAST) {
        OnWebLoginMenuCommand(id);
    } else if (id >= ID_SEARCH_RESULT_FIRST && id <= ID_SEARCH_RESULT_LAST) {
        OnSearchResultCommand(id);
    } else if (id == ID_TOOLBAR_BUTTON || id == ID_HOME_PAGE) {
        OnHomePage();
    } else if (id == ID_NEW_RECORD) {
        result = OnAddWebLogin();
    } else if (id == ID_SECURITY_OPTIONS) {
        m_communicator->UnlockWithPassword(false);
    } else if (id == ID_AUTO_SUBMIT) {
        CZorvikBand::SetAutoSubmit(!CZorvikBand::IsAutoSubmitOn());
    } else if (id == ID_USER_GUIDE) {
        OnUserGuide();
    } else {
        return false;
    }
    return true;
}

LRESULT CZorvikToolBarWnd::OnToolbarDropDown(const NMTOOLBARA& info)
{
    RECT button = info.rcButton;
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
    HINSTANCE module = CZorvikanToolBarModule::ModuleHandle();
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_IEMENU));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    HMENU webLogins = popup ? GetSubMenu(popup, 1) : nullptr;
    if (!webLogins) {
        if (menu) DestroyMenu(menu);
        return 1;
    }
    OSVERSIONINFOA version = {sizeof(version)};
    GetVersionExA(&version);
    int size = version.dwMajorVersion == 5 && version.dwMinorVersion == 1 ? 12 : 16;
    const struct {
        int position;
        int bitmap;
    } items[] = {{0, IDB_MENU_HOME},
                 {1, IDB_MENU_WEB_LOGINS},
                 {2, IDB_MENU_NEW_RECORD},
                 {3, IDB_MENU_SECURITY},
                 {5, IDB_MENU_USER_GUIDE}};
    HBITMAP bitmaps[5] = {};
    for (int i = 0; i < 5; ++i) {
        bitmaps[i] = static_cast<HBITMAP>(
            LoadImageA(module, MAKEINTRESOURCEA(items[i].bitmap), IMAGE_BITMAP, size, size, LR_CREATEDIBSECTION));
        SetMenuItemBitmaps(popup, items[i].position, MF_BYPOSITION, bitmaps[i], bitmaps[i]);
    }
    CheckMenuItem(popup, ID_AUTO_SUBMIT, MF_BYCOMMAND | (CZorvikBand::IsAutoSubmitOn() ? MF_CHECKED : MF_UNCHECKED));

    m_menuList.Clear();
    CObList found;
    if (m_communicator->FindWebLogins(found, CString())) {
        m_menuList.FillForMenu(found);
        DeleteMenu(webLogins, ID_WEB_LOGINS_PLACEHOLDER, MF_BYCOMMAND);
        for (int i = 0; i < m_menuList.GetCount(); ++i)
            AppendMenuA(webLogins, MF_STRING, ID_WEB_LOGIN_FIRST + i, MenuText(m_menuList.At(i)->description));
        g_showPopup(popup, button.left, button.bottom, m_hWnd);
    }
    DestroyMenu(menu);
    for (HBITMAP bitmap : bitmaps)
        if (bitmap) DeleteObject(bitmap);
    return 0;
}

void CZorvikToolBarWnd::ShowSearchResults(const CString& text)
{
    RECT edit = {};
    if (m_edit.m_hWnd) GetWindowRect(m_edit.m_hWnd, &edit);
    m_searchList.Clear();
    CObList found;
    if (!m_communicator->FindWebLogins(found, text)) return;
    m_searchList.FillForSearch(found);
    HMENU popup = CreatePopupMenu();
    if (!popup) return;
    for (int i = 0; i < m_searchList.GetCount(); ++i)
        AppendMenuA(popup, MF_STRING, ID_SEARCH_RESULT_FIRST + i, MenuText(m_searchList.At(i)->description));
    g_showPopup(popup, edit.left, edit.bottom, m_hWnd);
    DestroyMenu(popup);
}

void CZorvikToolBarWnd::OpenListEntry(const CWebLoginList& list, int index)
{
    if (!m_hWnd || !m_band) return;
    // The listeners may have read the data again since the list was made:
    // the entry's record as the data holds it now.
    m_communicator->ApplyDesktopChanges();
    const CRecord* record = list.Resolve(index, m_communicator->Data().Database());
    if (record) m_band->OpenWebLogin(*record);
}

void CZorvikToolBarWnd::OnWebLoginMenuCommand(UINT id) { OpenListEntry(m_menuList, id - ID_WEB_LOGIN_FIRST); }

void CZorvikToolBarWnd::OnSearchResultCommand(UINT id) { OpenListEntry(m_searchList, id - ID_SEARCH_RESULT_FIRST); }

void CZorvikToolBarWnd::OnHomePage()
{
    if (m_band) m_band->Navigate(kHomePage);
}

LRESULT CZorvikToolBarWnd::OnAddWebLogin()
{
    if (!m_band) return 0;
    WebLoginRecord record;
    record.SetTexts(CutToBytes(m_band->GetLocationName(), WebLoginRecord::kTitleSize - 1),
                    CutToBytes(m_band->GetLocationURL(), WebLoginRecord::kAddressSize - 1));
    m_communicator->AddCurrentWebLogin(record);
    return 1;
}

void CZorvikToolBarWnd::OnUserGuide()
{
    CString module = CZorvikanToolBarModule::ModulePath();
    CString guide = module.Left(module.ReverseFind('\\') + 1) + "Zorvikan User Guide.pdf";
    if (!FileExists(guide)) return;
    ShellExecuteA(nullptr, "Open", guide, nullptr, nullptr, SW_SHOWNORMAL);
}
