#pragma once
// CZorvikanDesktopView: the main view of the document template. It hands
// itself to the main frame when it is built, opens the current user's data
// on its first update, answers the change notices the frame passes on, keeps
// the auto-lock countdown and saves its state when its window goes. It owns
// the link with the browser plug-in from its construction to its end.
#include "app/frame/MainViewBase.h"
#include "app/pluginlink/PluginLink.h"
#include "core/store/DatabaseObj.h"

class CZorvikanDesktopView : public CMainViewBase {
    DECLARE_DYNCREATE(CZorvikanDesktopView)
public:
    CZorvikanDesktopView() = default;
    ~CZorvikanDesktopView() override = default;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    void RestartAutoLockTimer() override;
    LRESULT OnDatabaseNotify(UINT operation, UINT itemClass, LPARAM itemId) override;
    void ImportFileAsk(const CString& path, BOOL ask) override;

    // While the program is locked a change notice only marks a reload as due.
    void SetLocked(bool locked) { m_bLocked = locked; }
    bool IsLocked() const { return m_bLocked; }
    bool IsReloadDue() const { return m_bReloadDue; }
    // Set while an editing dialog of the view is open.
    void SetEditingDialogOpen(bool open) { m_bEditingDialogOpen = open; }
    bool IsEditingDialogOpen() const { return m_bEditingDialogOpen; }

protected:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnDestroy();
    LRESULT OnBringToFront(WPARAM wParam, LPARAM lParam);
    void OnTrayOpen();

    // Opens the current user's database (a new one when there is none).
    void OpenUserData();

public:
    CDatabaseObj& GetDatabase() { return m_database; }
    // The result of the last opening of the database (0: opened).
    int GetOpenResult() const { return m_nOpenResult; }
    // The link with the browser plug-in: its busy flag is set while a modal
    // dialog of the view is open; it signals changes to the plug-in.
    CPluginLink& GetPluginLink() { return m_pluginLink; }

protected:
    // The one database object of the program's windows.
    CDatabaseObj m_database;
    int m_nOpenResult = -1;
    // Built with the view, so the plug-in sees the program running from then
    // on; closed (its worker joined) when the view is destroyed.
    CPluginLink m_pluginLink{this};

    bool m_bLocked = false;
    bool m_bReloadDue = false;
    bool m_bEditingDialogOpen = false;

    DECLARE_MESSAGE_MAP()
};
