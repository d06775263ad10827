#pragma once
// CDialogToolbar: the main window's tool bar, a dialog bar laid out by
// template 1589 at the top of the main frame: the category and type filters,
// the three view buttons, the options and lock buttons and the search box.
// The frame creates it and loads its buttons' bitmaps; the main view handles
// its commands. Mouse messages over the bar also go to the view's
// pre-translation (its tool tips), and Tab in the search box moves into the
// view's panes.
#include "framework/BitmapButton.h"
#include "framework/Controls.h"
#include "toolkit/editors/EditWithButton.h"
#include "toolkit/toolbar/DialogBarEx.h"

class CDialogToolbar : public CDialogBarEx {
    DECLARE_DYNAMIC(CDialogToolbar)
public:
    // Makes the bar from the template and sets up its search box; FALSE (and
    // no search box) when the template cannot be made.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    void DisableBar() { EnableWindow(FALSE); }
    void EnableBar() { EnableWindow(TRUE); }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    CBitmapButton m_btnLock;
    CBitmapButton m_btnOptions;
    CStatic m_stTypes;
    CComboBox m_cbTypes;
    CEditWithButton m_edSearch;
    CComboBox m_cbCategories;
    CBitmapButton m_btnPanelView;
    CBitmapButton m_btnListView;
    CBitmapButton m_btnTreeView;
    CStatic m_stSearchCue;
};
