// Dialogs from templates: modal and modeless, data exchange both ways,
// validation, and the modal seam that answers for the person.
#include <gtest/gtest.h>

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "tests/framework/GuiTestApp.h"
#include "tests/framework/GuiTestRes.h"
#include "tests/support/ScriptedModal.h"

namespace {

using zvtest::ScriptedModal;

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(IDD_TEST_DIALOG) {}

    CString m_name = "Alice";
    int m_count = 7;
    int m_enabled = 1;
    int m_mode = 1;
    bool m_endInInit = false;
    int m_initCalls = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 10);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 60);
        DDX_Check(pDX, IDC_ENABLED, m_enabled);
        DDX_Radio(pDX, IDC_MODE_FIRST, m_mode);
    }
    BOOL OnInitDialog() override
    {
        ++m_initCalls;
        CDialog::OnInitDialog();
        if (m_endInInit) EndDialog(IDABORT);
        return TRUE;
    }
};

CString Text(CWnd& wnd, int id)
{
    CString text;
    wnd.GetDlgItemText(id, text);
    return text;
}

TEST(DialogTest, DataExchangeRunsBothWaysAndOkEndsTheDialog)
{
    ScriptedModal script;
    CTestDlg dlg;
    CString shownName, shownCount;
    UINT shownCheck = 99, shownFirst = 99, shownSecond = 99;
    script.OnModal([&](CWnd& wnd) {
        // The members were put into the controls when the dialog opened.
        shownName = Text(wnd, IDC_NAME);
        shownCount = Text(wnd, IDC_COUNT);
        shownCheck = wnd.IsDlgButtonChecked(IDC_ENABLED);
        shownFirst = wnd.IsDlgButtonChecked(IDC_MODE_FIRST);
        shownSecond = wnd.IsDlgButtonChecked(IDC_MODE_SECOND);
        wnd.SetDlgItemText(IDC_NAME, "Bob");
        wnd.SetDlgItemText(IDC_COUNT, "42");
        wnd.CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
        wnd.CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_SECOND, IDC_MODE_FIRST);
        ScriptedModal::PressButton(wnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(shownName, "Alice");
    EXPECT_STREQ(shownCount, "7");
    EXPECT_EQ(shownCheck, (UINT)BST_CHECKED);
    EXPECT_EQ(shownFirst, (UINT)BST_UNCHECKED);
    EXPECT_EQ(shownSecond, (UINT)BST_CHECKED);
    EXPECT_STREQ(dlg.m_name, "Bob");
    EXPECT_EQ(dlg.m_count, 42);
    EXPECT_EQ(dlg.m_enabled, 0);
    EXPECT_EQ(dlg.m_mode, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the window is gone after DoModal";
    EXPECT_TRUE(script.Unanswered().empty());
}

TEST(DialogTest, CancelLeavesTheMembersAlone)
{
    ScriptedModal script;
    CTestDlg dlg;
    script.OnModal([](CWnd& wnd) {
        wnd.SetDlgItemText(IDC_NAME, "Mallory");
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_name, "Alice");
}

TEST(DialogTest, FailedValidationKeepsTheDialogOpenWithTheFrameworkMessage)
{
    const struct {
        const char* name;
        const char* count;
        const char* message;
    } cases[] = {
        {"Bob", "61", "Please enter an integer between 1 and 60."},
        {"Bob", "0", "Please enter an integer between 1 and 60."},
        {"Bob", "", "Please enter an integer."},
        {"Bob", "12abc", "Please enter an integer."},
        {"Bob", "99999999999", "Please enter an integer."},
        {"Much too long a name", "5", "Enter no more than 10 characters."},
    };
    for (const auto& c : cases) {
        ScriptedModal script;
        script.AnswerMessageBox(IDOK);
        CTestDlg dlg;
        bool stillOpen = false;
        script.OnModal([&](CWnd& wnd) {
            wnd.SetDlgItemText(IDC_NAME, c.name);
            wnd.SetDlgItemText(IDC_COUNT, c.count);
            ScriptedModal::PressButton(wnd, IDOK);
        });
        script.OnModal([&](CWnd& wnd) {
            // Still open: put a valid value and try again.
            stillOpen = ::IsWindowVisible(wnd.m_hWnd) != FALSE;
            wnd.SetDlgItemText(IDC_NAME, "Carol");
            wnd.SetDlgItemText(IDC_COUNT, "5");
            ScriptedModal::PressButton(wnd, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.count;
        ASSERT_EQ(script.MessageTexts().size(), 1u) << c.count;
        EXPECT_EQ(script.MessageTexts()[0], c.message);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(dlg.m_count, 5);
        EXPECT_STREQ(dlg.m_name, "Carol");
        EXPECT_TRUE(script.Unanswered().empty());
    }
}

TEST(DialogTest, AnUnscriptedDialogIsCancelledAndReported)
{
    ScriptedModal script;
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(script.Unanswered().size(), 1u);
    EXPECT_EQ(script.Unanswered()[0], "modal window: Test Dialog");
}

TEST(DialogTest, EndDialogDuringInitialisationNeverEntersTheLoop)
{
    ScriptedModal script;
    CTestDlg dlg;
    dlg.m_endInInit = true;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_EQ(dlg.m_initCalls, 1);
    EXPECT_TRUE(script.Unanswered().empty());
}

TEST(DialogTest, MissingTemplateFailsWithoutAWindow)
{
    CDialog dlg(12345);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(12345));
}

TEST(DialogTest, ModelessDialogLivesUntilDestroyed)
{
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    EXPECT_EQ(dlg.m_initCalls, 1);
    EXPECT_STREQ(Text(dlg, IDC_NAME), "Alice");
    dlg.SetDlgItemText(IDC_COUNT, "9");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_count, 9);
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
    HWND h = dlg.m_hWnd;
    dlg.DestroyWindow();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

UINT DialogOnWorker(LPVOID param)
{
    auto* script = static_cast<ScriptedModal*>(param);
    (void)script;
    CTestDlg dlg;
    INT_PTR result = dlg.DoModal();
    return result == IDOK && dlg.m_count == 33 ? 1u : 0u;
}

TEST(DialogTest, ModalDialogRunsOnAWorkerThread)
{
    ScriptedModal script;
    DWORD workerId = 0;
    script.OnModal([&](CWnd& wnd) {
        workerId = ::GetCurrentThreadId();
        wnd.SetDlgItemText(IDC_COUNT, "33");
        ScriptedModal::PressButton(wnd, IDOK);
    });
    CWinThread* thread = AfxBeginThread(&DialogOnWorker, &script, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(workerId, thread->m_nThreadID);
    delete thread;
}

TEST(MessageBoxSeamTest, RecordsTheTextAndReturnsTheScriptedAnswer)
{
    ScriptedModal script;
    script.AnswerMessageBox(IDYES);
    script.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Do you want to import the file a.zkv?", MB_YESNO), IDYES);
    CWnd none;
    EXPECT_EQ(none.MessageBox("Second", "Caption", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(script.MessageBoxes().size(), 2u);
    EXPECT_EQ(script.MessageBoxes()[0].text, "Do you want to import the file a.zkv?");
    EXPECT_EQ(script.MessageBoxes()[0].caption, "Framework GUI Tests");
    EXPECT_EQ(script.MessageBoxes()[0].type & MB_TYPEMASK, (UINT)MB_YESNO);
    EXPECT_EQ(script.MessageBoxes()[1].caption, "Caption");
    EXPECT_TRUE(script.Unanswered().empty());
    EXPECT_EQ(script.PendingAnswers(), 0u);
}

TEST(MessageBoxSeamTest, UnscriptedBoxesGetTheCautiousAnswer)
{
    ScriptedModal script;
    const struct {
        UINT type;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_YESNO, IDNO},
                 {MB_YESNOCANCEL, IDCANCEL},
                 {MB_OKCANCEL, IDCANCEL},
                 {MB_RETRYCANCEL, IDCANCEL}};
    for (const auto& c : cases) EXPECT_EQ(AfxMessageBox("Question", c.type), c.answer) << c.type;
    EXPECT_EQ(script.Unanswered().size(), 5u);
}

TEST(MessageBoxSeamTest, StringTableTextIsShown)
{
    ScriptedModal script;
    script.AnswerMessageBox(IDOK);
    AfxMessageBox((UINT)ID_TEST_ACTION);
    ASSERT_EQ(script.MessageTexts().size(), 1u);
    EXPECT_EQ(script.MessageTexts()[0], "Runs the test action\nAction");
}

}  // namespace

namespace {

TEST(UnscriptedModalTest, UnderTheTestRunnerNothingModalWaits)
{
    // No ScriptedModal here: the runner's setting, which names this
    // program, makes the default seam refuse instead of showing windows.
    ASSERT_GT(::GetEnvironmentVariableA("ZV_TEST_NO_MODAL", nullptr, 0), 0u) << "run through ctest";
    EXPECT_EQ(AfxMessageBox("Nobody answers this", MB_YESNO), IDNO);
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace
