// The main view's search box on the frame's tool bar: every change of its
// text re-filters the current mode, leaving it keeps the text in the user's
// recent searches, and its history button offers them in a popup. The
// panel's record list and the record buttons are in ViewModes.cpp; its
// lists' notices are answered here.
#include "app/frame/MainFrm.h"
#include "app/res/Resource.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/search/RecentSearchMenu.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/menus/BCMenu.h"

namespace {

const char kClearHistoryAsk[] = "Are you really sure you want to delete recent search history?";

}  // namespace

CEditWithButton* CZorvikanDesktopView::SearchBox()
{
    CMainFrame* frame = Frame();
    if (!frame) return nullptr;
    CEditWithButton& box = frame->GetDialogToolbar().m_edSearch;
    return box.m_hWnd ? &box : nullptr;
}

// ---- Filtering -----------------------------------------------------------------

LRESULT CZorvikanDesktopView::OnSearchTextChanged(WPARAM, LPARAM lParam)
{
    if ((int)lParam == IDC_TOOLBAR_SEARCH) ApplySearch();
    return 0;
}

void CZorvikanDesktopView::ApplySearch()
{
    CString text;
    if (CEditWithButton* box = SearchBox()) box->GetWindowText(text);
    if (CMainFrame* frame = Frame()) {
        frame->GetDialogToolbar().m_cbCategories.Invalidate();
        frame->GetDialogToolbar().m_cbTypes.Invalidate();
    }
    bool caseSensitive = false, wholeWord = false;
    if (CUserItem* user = CurrentUser()) {
        std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
        caseSensitive = prefs->GetCaseSensitive(user);
        wholeWord = prefs->GetWholeWord(user);
    }
    FilterBySearch(text, caseSensitive, wholeWord, true);
    ShowDetails(GetSelectedRecord());
}

void CZorvikanDesktopView::FilterBySearch(const CString& text, bool caseSensitive, bool wholeWord, bool applyFilters)
{
    if (m_nViewMode == kViewModePanel) {
        // The panel's fills read the box themselves.
        if (m_panelTypes.m_hWnd) m_panelTypes.DeleteAllItems();
        if (m_panelRecords.m_hWnd) m_panelRecords.DeleteAllItems();
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        if (m_tree.m_hWnd) m_tree.DeleteAllItems();
        FillTree(nullptr);
    } else {
        RecordSearch search;
        search.text = text;
        search.caseSensitive = caseSensitive;
        search.wholeWord = wholeWord;
        search.fieldMask = GetViewSearch().fieldMask;
        FillRecordListWith(search, applyFilters);
    }
}

// ---- The history -----------------------------------------------------------------

LRESULT CZorvikanDesktopView::OnSearchLeave(WPARAM, LPARAM) { return OnSearchStore(); }

int CZorvikanDesktopView::OnSearchStore()
{
    CEditWithButton* box = SearchBox();
    CString text;
    if (box) box->GetWindowText(text);
    if (text.IsEmpty()) return 0;
    CZorvikanDesktopApp* app = App();
    if (!app) return 0;
    app->AddRecentSearch(text);
    app->GetRecentSearches(m_recentSearches);
    box->SetAutoCompleteList(m_recentSearches);
    return 1;
}

LRESULT CZorvikanDesktopView::OnSearchClear(WPARAM, LPARAM)
{
    OnSearchStore();
    // Also when the box was empty already and so sends no change notice.
    if (CEditWithButton* box = SearchBox()) box->SetWindowText("");
    ApplySearch();
    return 0;
}

CMenu* CZorvikanDesktopView::BuildSearchMenu(BCMenu& menu)
{
    if (!menu.LoadMenu(IDR_SEARCH_MENU)) return nullptr;
    CMenu* search = menu.GetSubMenu(0);
    CMenu* recent = search ? search->GetSubMenu(0) : nullptr;
    if (!recent || !BCMenu::IsBCMenu(recent)) return search;
    const RecentSearchMenu entries(m_recentSearches);
    if (entries.Entries().empty()) return search;
    auto* recentMenu = static_cast<BCMenu*>(recent);
    recentMenu->DeleteMenu(ID_NO_RECENT_SEARCHES, MF_BYCOMMAND);
    UINT position = 0;
    for (const RecentSearchEntry& entry : entries.Entries())
        recentMenu->InsertMenu(position++, MF_BYPOSITION | MF_STRING, entry.id, (LPCSTR)entry.text);
    return search;
}

LRESULT CZorvikanDesktopView::OnSearchHistoryMenu(WPARAM, LPARAM)
{
    OnSearchStore();
    BCMenu menu;
    CMenu* search = BuildSearchMenu(menu);
    CEditWithButton* box = SearchBox();
    if (!search || !box) return 0;
    RECT r{};
    box->GetWindowRect(&r);
    search->TrackPopupMenu(TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.right, r.bottom, this);
    return 0;
}

void CZorvikanDesktopView::OnRecentSearch(UINT nID)
{
    CString text;
    if (!RecentSearchMenu(m_recentSearches).TextOf(nID, text)) return;
    if (CEditWithButton* box = SearchBox()) box->SetWindowText(text);
    ApplySearch();
}

void CZorvikanDesktopView::OnClearSearchHistory()
{
    if (m_recentSearches.GetSize() == 0) return;
    if (AfxMessageBox(kClearHistoryAsk, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    m_recentSearches.RemoveAll();
    if (CZorvikanDesktopApp* app = App()) app->ClearRecentSearches(true);
    CEditWithButton* box = SearchBox();
    if (!box) return;
    box->SetAutoCompleteList(m_recentSearches);
    // Emptied as typing would, so that its change notice re-applies the
    // search (setting the text need not send one).
    box->SetSel(0, -1);
    box->ReplaceSel("");
    box->SetFocus();
}

// ---- The panel's lists ------------------------------------------------------------

void CZorvikanDesktopView::OnPanelListDeleteAll(NMHDR*, LRESULT* pResult)
{
    // Nothing follows a single row's removal: the list is asked to send no
    // notice for each of the rows it empties (thousands at every refill).
    *pResult = TRUE;
}
