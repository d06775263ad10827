#pragma once
// CChooseIconDlg: the icon chooser. A grid of 8 x 8 cells shows the 64
// built-in icons, then the user's custom icons, scrolled by rows; "Add Icon"
// turns pictures into new custom icons, "Delete Icon" explains how a custom
// icon is deleted and, when the user agrees, shows its file and closes the
// program. Windows only.
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "mainwindow/icons/IconCatalog.h"

class CDC;
class CExternalIconResList;

// What the chooser asks of the window that opens it (the main view; tests
// give their own).
class IIconChooserHost {
public:
    virtual ~IIconChooserHost() = default;
    // The current user's "Icons" folder.
    virtual CString GetIconsFolder() = 0;
    virtual CExternalIconResList& GetCustomIcons() = 0;
    // Draws a built-in icon into the rectangle.
    virtual bool DrawItemIcon(CDC* pDC, const CRect& rect, int id) = 0;
    // A new file of the "Icons" folder (its name only) joins the custom icons.
    virtual void AddCustomIconFile(const CString& fileName) = 0;
    virtual void RebuildIconImageList() = 0;
    // Shows the icon's file (full path) selected in the file manager.
    virtual void ShowFileInExplorer(const CString& path) = 0;
    // The user agreed to close the program to delete an icon; the host
    // closes it once the chooser and the dialogs under it are gone.
    virtual void RequestExit() = 0;
};

class CChooseIconDlg : public CDialog {
public:
    CChooseIconDlg(IIconChooserHost& host, CWnd* pParent = nullptr);

    void SelectIconId(int id);
    int GetSelectedIconId() const { return m_model.GetSelectedIconId(); }
    const CIconChooserModel& GetModel() const { return m_model; }
    // The chooser ended because the user chose to close the program.
    bool IsExitRequested() const { return m_exitRequested; }

    BOOL OnInitDialog() override;
    // Adds the pictures (full paths) as new icons, as "Add Icon" does after
    // the file dialog. The number given to the last one; 0 for none.
    int AddPictures(const std::vector<CString>& pictures);
    // The grid cell's rectangle (0-63) in the dialog's client co-ordinates.
    CRect CellRect(int cell) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPaint();
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnAddIcon();
    void OnDeleteIcon();
    // Custom icons, scroll range and position from the host's list.
    void UpdateScroll();
    void PaintGrid(CDC* pDC);
    void EnableDelete();

    IIconChooserHost& m_host;
    CScrollBar m_scroll;
    CIconChooserModel m_model;
    bool m_exitRequested = false;

    DECLARE_MESSAGE_MAP()
};
