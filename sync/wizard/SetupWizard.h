#pragma once
// The "Zorvikan Setup Wizard" of the first start: it asks the user to start a
// sync on the handheld, which (handheld overwrites desktop) creates the
// desktop user and its database, then congratulates. It learns about the
// sync only through the sync messages it receives as one of the sync
// server's registered windows.
#include <windows.h>

#include "framework/CString.h"
#include "framework/PropertySheet.h"
#include "sync/wizard/WizardPicture.h"

class CSyncServer;

namespace iPhoneSetupWizard {

class CSetupWizardPS;

// What the three pages share: the sheet's fonts on their texts.
class CSetupWizardPage : public CPropertyPage {
public:
    CSetupWizardPage(UINT nIDTemplate, CSetupWizardPS* sheet) : CPropertyPage(nIDTemplate), m_wizard(sheet) {}
    BOOL OnInitDialog() override;

protected:
    void SetButtons(DWORD buttons) const;
    CSetupWizardPS* m_wizard;
};

// A page that draws a picture of the program's resources at a place of its
// own, in pixels from its top-left corner.
class CSetupWizardPicturePage : public CSetupWizardPage {
public:
    CSetupWizardPicturePage(UINT nIDTemplate, CSetupWizardPS* sheet, UINT pictureId, POINT at);
    BOOL OnInitDialog() override;
    const CWizardPicture& Picture() const { return m_picture; }
    POINT PictureOrigin() const { return m_at; }

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    UINT m_pictureId;
    POINT m_at;
    CWizardPicture m_picture;
};

class CSetupWizardPP1 : public CSetupWizardPicturePage {
public:
    explicit CSetupWizardPP1(CSetupWizardPS* sheet);
    BOOL OnSetActive() override;
};

class CSetupWizardPP2 : public CSetupWizardPicturePage {
public:
    explicit CSetupWizardPP2(CSetupWizardPS* sheet);
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    // A sync session has ended: Next becomes available.
    void SessionEnded();
    bool HasSessionEnded() const { return m_sessionEnded; }

private:
    bool m_sessionEnded = false;
};

class CSetupWizardPP3 : public CSetupWizardPage {
public:
    explicit CSetupWizardPP3(CSetupWizardPS* sheet);
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnWizardFinish() override;
    // After a session that completed: "Congratulations! You have created "
    // and the user's name, and Finish. After one that failed: that it
    // failed, and Back to try again.
    void SetSyncResult(bool succeeded, const CString& name);
    bool Succeeded() const { return m_succeeded; }

private:
    void ShowButtons() const;

    CString m_title;
    bool m_succeeded = false;
};

class CSetupWizardPS : public CPropertySheet {
public:
    CSetupWizardPS(LPCSTR caption, CSyncServer* server, CWnd* parent, UINT firstPage);
    ~CSetupWizardPS() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The key name of the desktop user a completed sync found or created;
    // empty before one has completed.
    const CString& GetCreatedUserName() const { return m_createdId; }
    const CString& GetUserName() const { return m_userName; }

    HFONT HeadingFont() const { return m_heading; }
    HFONT TextFont() const { return m_text; }

    CSetupWizardPP1& FirstPage() { return m_page1; }
    CSetupWizardPP2& SecondPage() { return m_page2; }

protected:
    void OnDestroy();
    LRESULT OnSyncClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnSyncUserName(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CSyncServer* m_server;
    CWnd* m_parent;
    CString m_userName;
    CString m_userId;
    CString m_createdId;
    HFONT m_heading = nullptr;
    HFONT m_text = nullptr;
    CSetupWizardPP1 m_page1;
    CSetupWizardPP2 m_page2;
    CSetupWizardPP3 m_page3;
};

}  // namespace iPhoneSetupWizard
