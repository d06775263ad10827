#pragma once
// The reset wizard: page 1 chooses whose data goes and how (archive or
// erase), page 2 offers to remove the browser plug-in and runs the reset,
// page 3 tells what was done. Once the reset has run the program must end,
// whichever way the wizard is left.
#include <windows.h>

#include "framework/CString.h"
#include "framework/PropertySheet.h"

class CResetDatabase;

namespace ResetDBWizard {

class CResetDBWizard;

class CResetPage : public CPropertyPage {
public:
    explicit CResetPage(UINT templateId) : CPropertyPage(templateId) {}
    void SetStepFont(HFONT font) { m_hStepFont = font; }
    BOOL OnInitDialog() override;

protected:
    CResetDBWizard& Wizard() const;
    HFONT m_hStepFont = nullptr;
};

class CResetDBPP1 : public CResetPage {
public:
    CResetDBPP1();
    int m_nUsers = 0;  // 0 current user only, 1 all users
    int m_nData = 0;   // 0 archive, 1 erase
    CString m_strWarning;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ReadChoices();
    void ShowChoices();
};

class CResetDBPP2 : public CResetPage {
public:
    CResetDBPP2();
    BYTE m_bPluginRegistered = 0;

    static bool IsPluginRegistered();
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateButtons();
};

class CResetDBPP3 : public CResetPage {
public:
    CResetDBPP3();
    CString m_strResult;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
};

class CResetDBWizard : public CPropertySheet {
public:
    // currentUserName: shown on the last page after a reset of that user.
    CResetDBWizard(LPCSTR caption, CWnd* pParent, UINT firstPage, CResetDatabase& reset,
                   const CString& currentUserName);
    ~CResetDBWizard() override;

    void CreateStepFont();
    BOOL OnInitDialog() override;

    BYTE GetArchive() const { return m_bArchive; }
    void SetArchive(BYTE archive) { m_bArchive = archive; }
    BYTE GetCurrentUserOnly() const { return m_bCurrentUserOnly; }
    void SetCurrentUserOnly(BYTE only) { m_bCurrentUserOnly = only; }
    // Whether the reset has run, and its ResetResult.
    bool HasResetRun() const { return m_bResetRan; }
    int GetResetResult() const { return m_nResetResult; }
    // Runs the reset once (page 2's "Reset").
    int RunReset(bool removePlugin);
    const CString& GetCurrentUserName() const { return m_strCurrentUserName; }

    CResetDBPP1 m_page1;
    CResetDBPP2 m_page2;
    CResetDBPP3 m_page3;

private:
    HFONT m_hStepFont = nullptr;
    BYTE m_bArchive = 1;
    BYTE m_bCurrentUserOnly = 1;
    bool m_bResetRan = false;
    int m_nResetResult = 0;
    CResetDatabase& m_reset;
    CString m_strCurrentUserName;
};

}  // namespace ResetDBWizard
