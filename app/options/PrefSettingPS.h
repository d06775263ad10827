#pragma once
// CPrefSettingPS: the Options sheet with its five pages (Security, User
// Data, Format, Show Column, Sync). The opener fills the members it owns,
// runs the sheet and stores them after OK; the pages apply the rest
// themselves through the main view's options host.
#include <windows.h>

#include "framework/CString.h"
#include "framework/PropertySheet.h"

class IOptionsHost;

class CPrefSettingPP1 : public CPropertyPage {
public:
    explicit CPrefSettingPP1(IOptionsHost* host);

    int m_bHasPassword = 0;
    int m_bAutoLock = 0;
    int m_bAutoSubmit = 0;
    int m_nSleepMinutes = 1;
    int m_nMaxMinutes = 60;
    int m_nSearchMode = -1;  // 0 field 1, 1 all fields
    int m_bStartupChanged = 0;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int ShownClipboardMinutes() const;

    IOptionsHost* m_pHost;
};

class CPrefSettingPP2 : public CPropertyPage {
public:
    CPrefSettingPP2();

    CString m_strBackupLocation;
    CString m_strDatabaseLocation;
    CString m_strRestoreLocation;

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ChooseInto(UINT titleId, CString& member);
};

class CPrefSettingPp3 : public CPropertyPage {
public:
    explicit CPrefSettingPp3(IOptionsHost* host);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowFontText();
    void OnPaint();

    IOptionsHost* m_pHost;
    DECLARE_MESSAGE_MAP()
};

class CPrefSettingPP4 : public CPropertyPage {
public:
    static constexpr int kFlags = 14;
    CPrefSettingPP4(IOptionsHost* host);

    int m_flags[kFlags] = {};

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    IOptionsHost* m_pHost;
};

class CPrefSettingPP5 : public CPropertyPage {
public:
    CPrefSettingPP5();

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

class CPrefSettingPS : public CPropertySheet {
public:
    CPrefSettingPS(LPCSTR caption, IOptionsHost* host, CWnd* pParent = nullptr, UINT firstPage = 0);
    ~CPrefSettingPS() override;

    BOOL OnInitDialog() override;

    CPrefSettingPP1 m_security;
    CPrefSettingPP2 m_userData;
    CPrefSettingPp3 m_format;
    CPrefSettingPP4 m_showColumn;
    CPrefSettingPP5 m_sync;
};

// Enables the Apply button of the page's sheet.
void MarkSheetModified(CPropertyPage& page);
// Erase-background of every page: the button-face colour.
BOOL FillBrushBackground(CWnd& page, HDC hdc);
// The font's point size on the window's device context.
int PointSizeOfFont(HWND window, const LOGFONTA& font);
// The layout column of the Show Column page's check box i (0..13) and the
// check box of layout column n; 0 when there is none.
int ShowColumnOfFlag(int flag);
int ShowColumnCheckBox(int flag);
