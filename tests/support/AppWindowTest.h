#pragma once
// Window tests of the program's main window on a scratch data root: the
// preference manager rooted there, the users read from it with the first one
// current, and the frame, document and main view made as the start-up makes
// them. The test program defines the application object (theApp). Windows
// build only.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/frame/MainFrm.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/history/LogEvents.h"
#include "app/res/Resource.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "framework/DocTemplate.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/ScratchDir.h"

namespace zvtest {

class AppWindowTest : public ::testing::Test {
protected:
    explicit AppWindowTest(const char* rootName) : m_root(rootName) {}

    static CZorvikanDesktopApp& App() { return static_cast<CZorvikanDesktopApp&>(*AfxGetApp()); }

    void SetUp() override
    {
        m_oldManager =
            CAppPrefMgr::ReplaceInstance(std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str())));
        CZorvikanDesktopApp::GetPrefsSection() = "Preferences iPhone";
        App().GetUsers().DeleteAll();
        App().GetUsers().LoadUsers("Zorvikan", "software\\corvantide\\zorvikan desktop\\iPhone - ");
        App().SetCurrentUser(App().GetUsers().FindByKeyNameOrFirst(""));
        ASSERT_NE(nullptr, App().GetCurrentUser());
    }

    void OpenWindow()
    {
        // A main window closed by an earlier test asked the thread to quit;
        // that request would end the first modal loop of this one at once.
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        m_template =
            std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CZorvikanDesktopDoc),
                                                 RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CZorvikanDesktopView));
        m_template->LoadTemplate();
        App().m_pMainWnd = nullptr;
        App().m_nCmdShow = -1;
        ASSERT_NE(nullptr, m_template->OpenDocumentFile(nullptr));
        m_frame = App().GetMainFrame();
        ASSERT_NE(nullptr, m_frame);
        m_view = static_cast<CZorvikanDesktopView*>(m_frame->GetMainView());
        ASSERT_NE(nullptr, m_view);
        m_hFrame = m_frame->m_hWnd;
    }

    void CloseWindow()
    {
        if (::IsWindow(m_hFrame)) ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
        m_frame = nullptr;
        m_view = nullptr;
        App().m_pMainWnd = nullptr;
    }

    void TearDown() override
    {
        CloseWindow();
        m_template.reset();
        App().SetCurrentUser(nullptr);
        App().GetUsers().DeleteAll();
        CZorvikanDesktopApp::GetPrefsSection().Empty();
        CLogEvents::ReplaceInstance(nullptr);  // the next one reads the next test's root
        CAppPrefMgr::ReplaceInstance(m_oldManager);
    }

    zvtest::ScratchDir m_root;
    std::shared_ptr<CAppPrefMgr> m_oldManager;
    std::unique_ptr<CSingleDocTemplate> m_template;
    CMainFrame* m_frame = nullptr;
    CZorvikanDesktopView* m_view = nullptr;
    HWND m_hFrame = nullptr;
};

}  // namespace zvtest
