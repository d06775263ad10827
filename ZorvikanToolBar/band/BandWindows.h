#pragma once
// The band's window chain: a hidden reflection window, child of the site's
// window; the tool bar "ZORVIK TOOLBAR" (a superclass of the common tool
// bar) filling it; the search edit "ZORVIKEDIT" (a superclass of EDIT) in the
// tool bar. The reflection window hands what it receives to the tool bar's
// message handling, so the tool bar's commands and notifications reach it
// whichever of the two windows they are sent to. Windows build only.
#include <windows.h>
#include <commctrl.h>

#include "ZorvikanToolBar/band/WebLoginLists.h"
#include "framework/CString.h"

class CZorvikBand;
class CAppCommunicator;
class CZorvikToolBarWnd;

class CZorvikEditWnd {
public:
    static const UINT kId = 1100;

    void SetBand(CZorvikBand* band, CZorvikToolBarWnd* toolBar);
    HWND Create(HWND parent);
    // The keys the browser hands to the band while it has the focus: S_OK
    // when dealt with here, S_FALSE when the browser is to process it.
    HRESULT TranslateKey(const MSG& msg);
    // EN_SETFOCUS tells the band it has the focus; every WM_COMMAND counts
    // as handled.
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CZorvikBand* m_band = nullptr;
    CZorvikToolBarWnd* m_toolBar = nullptr;
    bool m_active = false;
    bool m_unlockAsked = false;
};

class CZorvikToolBarWnd {
public:
    static const UINT kButtonId = 1001;
    // The maker's home page, opened by the button and the menu's first item.
    static const char* const kHomePage;

    // Shows a pop-up menu owned by the tool bar at a screen point; the pick
    // comes back as the tool bar's WM_COMMAND. Tests put in their own.
    using PopupShower = void (*)(HMENU popup, int x, int y, HWND owner);
    static PopupShower SetPopupShower(PopupShower shower);

    CZorvikToolBarWnd();
    ~CZorvikToolBarWnd();
    void SetBand(CZorvikBand* band);
    HWND Create(HWND parent, const RECT& rect);
    // The tool bar's handling of its own messages and of those the
    // reflection window passes on; true when handled.
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CZorvikEditWnd& Edit() { return m_edit; }
    CAppCommunicator& Communicator() { return *m_communicator; }

    // The web logins containing text (all for an empty one) in a pop-up
    // under the edit, even when none is found; nothing while the data stays
    // locked.
    void ShowSearchResults(const CString& text);
    // The tool bar's commands by id; false for an id it does not handle.
    bool OnCommand(UINT id, LRESULT& result);
    LRESULT OnToolbarDropDown(const NMTOOLBARA& info);
    void OnWebLoginMenuCommand(UINT id);
    void OnSearchResultCommand(UINT id);
    void OnHomePage();
    LRESULT OnAddWebLogin();
    void OnUserGuide();

    const CWebLoginList& MenuList() const { return m_menuList; }
    const CWebLoginList& SearchList() const { return m_searchList; }

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize();
    void OpenListEntry(const CWebLoginList& list, int index);

    CZorvikBand* m_band = nullptr;
    CZorvikEditWnd m_edit;
    HIMAGELIST m_images = nullptr;
    CAppCommunicator* m_communicator;
    // What the last drop-down and the last search found, by position.
    CWebLoginList m_menuList;
    CWebLoginList m_searchList;
};

class CReflectionWnd {
public:
    void SetBand(CZorvikBand* band) { m_toolBar.SetBand(band); }
    // Hidden child of the parent with the parent's client size; its creation
    // creates the tool bar and the edit. The tool bar's window, or null.
    HWND Create(HWND parent);
    // Destroys the whole chain (nothing when there is none).
    void Destroy();
    CZorvikToolBarWnd& ToolBar() { return m_toolBar; }

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CZorvikToolBarWnd m_toolBar;
    bool m_counted = false;
};

// How many window chains exist in the process; the window classes are
// registered while any does, so none outlives an unloaded library.
int LiveBandWindowChains();
