#pragma once
// What the shell calls of the main view. The main view itself belongs to the
// main window, which sits above the shell; the shell reaches it only through
// this base, which the main view derives from.
#include "framework/CString.h"
#include "framework/View.h"

class CMainViewBase : public CView {
    DECLARE_DYNAMIC(CMainViewBase)
public:
    // Starts the auto-lock countdown again (user activity, menu browsing).
    virtual void RestartAutoLockTimer() = 0;
    // A change notice: operation, item class, item id; the message's result.
    virtual LRESULT OnDatabaseNotify(UINT operation, UINT itemClass, LPARAM itemId) = 0;
    // Offers to import the file (asking first when ask is set).
    virtual void ImportFileAsk(const CString& path, BOOL ask) = 0;
};
