#pragma once
// CDialogBarEx: a dialog bar that binds its controls, and runs an
// initialisation step, once its window exists: on WM_CREATE it posts itself
// WM_DIALOGBAR_BIND, and binds when that arrives, after the creating call
// has returned. The number is DM_SETDEFID to a dialog's own procedure, so
// the bar answers it itself and never passes it on.
#include "framework/ControlBar.h"

class CDialogBarEx : public CDialogBar {
    DECLARE_DYNAMIC(CDialogBarEx)
public:
    // Runs after the controls are bound; nothing here.
    virtual void InitBar() {}
    // TRUE once the posted binding step has run.
    BOOL IsBound() const { return m_bBound; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL m_bBound = FALSE;
};
