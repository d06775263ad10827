// The document/frame/view architecture: a template makes the document, the
// frame with its status bar and dialog bar, and the view; commands are
// routed view -> document -> frame -> application; update handlers decide
// what menus and bars show.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/ControlBar.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkRes.h"
#include "framework/PrintPreview.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "tests/framework/GuiTestApp.h"
#include "tests/framework/GuiTestRes.h"
#include "tests/support/ScriptedModal.h"

namespace {

struct Counters {
    int action = 0;
    int disabled = 0;
    int docCommand = 0;
    int appCommand = 0;
    int barButton = 0;
    int rangeId = 0;
    int initialUpdates = 0;
    bool noPrinter = false;  // the print preparation finds no printer
    int beginPrinting = 0;
    int endPrinting = 0;
    int pagesPrinted = 0;
};
Counters g_count;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    void OnDocCommand() { ++g_count.docCommand; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_TEST_DOCCMD, &CTestDoc::OnDocCommand)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    void OnInitialUpdate() override
    {
        ++g_count.initialUpdates;
        CView::OnInitialUpdate();
    }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        return g_count.noPrinter ? FALSE : CView::OnPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { ++g_count.beginPrinting; }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        ++g_count.pagesPrinted;
        CView::OnPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { ++g_count.endPrinting; }

protected:
    void OnAction() { ++g_count.action; }
    void OnDisabled() { ++g_count.disabled; }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnBarButton() { ++g_count.barButton; }
    void OnRange(UINT nID) { g_count.rangeId = (int)nID; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_TEST_ACTION, &CTestView::OnAction)
    ON_COMMAND(ID_TEST_DISABLED, &CTestView::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, &CTestView::OnUpdateDisabled)
    ON_COMMAND(IDC_BAR_BUTTON, &CTestView::OnBarButton)
    ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CTestView::OnRange)
END_MESSAGE_MAP()

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    CStatusBar m_wndStatusBar;
    CDialogBar m_wndBar;

protected:
    int OnCreate(LPCREATESTRUCTA lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 4)) return -1;
        if (!m_wndBar.Create(this, IDD_TEST_BAR, CBRS_TOP | WS_VISIBLE, IDD_TEST_BAR)) return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// A frame and a view whose windows refuse to be made (WM_CREATE gives -1);
// each counts its destructions. Their memory is wiped when they are deleted,
// as a reused heap block would be, so that any use after their end shows.
int g_refusingFrameEnds = 0;
int g_refusingViewEnds = 0;

template <int N> struct WipedOnDelete {
    static void* operator new(size_t size)
    {
        EXPECT_LE(size, sizeof(storage));
        return storage;
    }
    static void operator delete(void* p) { memset(p, 0, sizeof(storage)); }
    alignas(16) static unsigned char storage[4096];
};
template <int N> alignas(16) unsigned char WipedOnDelete<N>::storage[4096];

class CRefusingFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CRefusingFrame)
public:
    ~CRefusingFrame() override { ++g_refusingFrameEnds; }
    static void* operator new(size_t size) { return WipedOnDelete<0>::operator new(size); }
    static void operator delete(void* p) { WipedOnDelete<0>::operator delete(p); }

protected:
    int OnCreate(LPCREATESTRUCTA) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRefusingFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CRefusingFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class CRefusingView : public CView {
    DECLARE_DYNCREATE(CRefusingView)
public:
    ~CRefusingView() override { ++g_refusingViewEnds; }
    static void* operator new(size_t size) { return WipedOnDelete<1>::operator new(size); }
    static void operator delete(void* p) { WipedOnDelete<1>::operator delete(p); }

protected:
    int OnCreate(LPCREATESTRUCTA) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRefusingView, CView)
BEGIN_MESSAGE_MAP(CRefusingView, CView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class DocFrameViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_count = Counters();
        app = &zvtest::TheGuiTestApp();
        app->m_pMainWnd = nullptr;
        app->m_nCmdShow = SW_SHOWNORMAL;
        app->AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                                   RUNTIME_CLASS(CTestView)));
        doc = app->OpenDocumentFile(nullptr);
        ASSERT_NE(doc, nullptr);
        frame = static_cast<CTestFrame*>(app->m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        zvtest::PumpPendingMessages();
    }
    void TearDown() override
    {
        if (app->m_pMainWnd) app->m_pMainWnd->SendMessage(WM_CLOSE);
        zvtest::PumpPendingMessages();
        app->RemoveDocTemplates();
    }
    // Opens the frame's first menu as the system would and reads the state
    // of an item.
    UINT MenuState(UINT id)
    {
        CMenu* popup = frame->GetMenu()->GetSubMenu(0);
        frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup->m_hMenu, 0);
        return popup->GetMenuState(id, MF_BYCOMMAND);
    }

    zvtest::GuiTestApp* app = nullptr;
    CDocument* doc = nullptr;
    CTestFrame* frame = nullptr;
};

TEST_F(DocFrameViewTest, TemplateMakesFrameViewDocumentAndBars)
{
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CTestFrame)));
    EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(view->GetParentFrame(), frame);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    EXPECT_EQ(g_count.initialUpdates, 1);
    EXPECT_TRUE(frame->IsWindowVisible());

    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ(title, "Test Frame");

    // The document string's pieces.
    const struct {
        CDocTemplate::DocStringIndex index;
        const char* text;
    } pieces[] = {{CDocTemplate::windowTitle, "Test Frame"},        {CDocTemplate::docName, "TestDoc"},
                  {CDocTemplate::filterName, "Test Files (*.tst)"}, {CDocTemplate::filterExt, ".tst"},
                  {CDocTemplate::regFileTypeId, "Test.Document"},   {CDocTemplate::regFileTypeName, "Tst"}};
    for (const auto& piece : pieces) {
        CString text;
        EXPECT_TRUE(doc->GetDocTemplate()->GetDocString(text, piece.index));
        EXPECT_STREQ(text, piece.text) << piece.index;
    }

    // Status bar at the bottom with its panes, dialog bar at the top, the
    // view between them.
    CWnd* bar = frame->GetDlgItem(AFX_IDW_STATUS_BAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(bar->m_hWnd), &frame->m_wndStatusBar);
    EXPECT_EQ(frame->m_wndStatusBar.GetCount(), 4);
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(1), "CAP");
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(2), "NUM");
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(3), "SCRL");
    CRect client, status, dialogBar, viewRect;
    frame->GetClientRect(&client);
    frame->m_wndStatusBar.GetWindowRect(&status);
    frame->m_wndBar.GetWindowRect(&dialogBar);
    view->GetWindowRect(&viewRect);
    frame->ScreenToClient(&status);
    frame->ScreenToClient(&dialogBar);
    frame->ScreenToClient(&viewRect);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_GT(status.Height(), 0);
    EXPECT_EQ(dialogBar.top, client.top);
    EXPECT_EQ(viewRect.top, dialogBar.bottom);
    EXPECT_EQ(viewRect.bottom, status.top);
}

TEST_F(DocFrameViewTest, PreviewWithoutAPrinterIsReportedAndOpensNothing)
{
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    g_count.noPrinter = true;
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    EXPECT_FALSE(view->DoPrintPreview());
    EXPECT_EQ(view->GetPrintPreview(), nullptr);
    EXPECT_EQ((std::vector<std::string>{"Print preview needs a default printer, and none is set up."}),
              modal.MessageTexts());
    EXPECT_EQ(0, g_count.beginPrinting);
    EXPECT_EQ(0, g_count.pagesPrinted);
    EXPECT_EQ(0, g_count.endPrinting);
}

TEST_F(DocFrameViewTest, APreviewOfOnePageStopsThereAndEndsWithItsFrame)
{
    char printer[256] = {};
    DWORD size = sizeof printer;
    if (!::GetDefaultPrinterA(printer, &size)) GTEST_SKIP() << "preview test skipped: Wine sees no default printer";
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    zvtest::ScriptedModal modal;
    ASSERT_TRUE(view->DoPrintPreview());
    CPreviewWnd* preview = view->GetPrintPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->GetPrintInfo().m_bPreview);
    EXPECT_EQ(1, g_count.beginPrinting);
    EXPECT_EQ(1, g_count.pagesPrinted);
    EXPECT_EQ(1u, preview->GetCurrentPage());
    EXPECT_EQ(0xFFFFu, preview->GetMaxPage());
    // A second request while one is open keeps the open one.
    EXPECT_TRUE(view->DoPrintPreview());
    EXPECT_EQ(preview, view->GetPrintPreview());
    EXPECT_EQ(1, g_count.beginPrinting);
    // The view prints one page unless told more: the next is refused and
    // page 1 turns out to be the last.
    preview->NextPage();
    EXPECT_EQ(1u, preview->GetCurrentPage());
    EXPECT_EQ(1u, preview->GetMaxPage());
    EXPECT_EQ(1, g_count.pagesPrinted);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, AFX_ID_PREVIEW_NEXT)));
    // It follows the frame's size.
    frame->MoveWindow(CRect(10, 10, 530, 470));
    CRect frameClient, previewRect;
    frame->GetClientRect(&frameClient);
    preview->GetWindowRect(&previewRect);
    frame->ScreenToClient(&previewRect);
    EXPECT_EQ(frameClient, previewRect);
    EXPECT_EQ(0, g_count.endPrinting);
    frame->SendMessage(WM_CLOSE);
    zvtest::PumpPendingMessages();
    EXPECT_EQ(1, g_count.endPrinting);
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(DocFrameViewTest, CommandsAreRoutedViewDocumentFrameApplication)
{
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_ACTION, 0), 0);
    EXPECT_EQ(g_count.action, 1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_DOCCMD, 0), 0);
    EXPECT_EQ(g_count.docCommand, 1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_APPCMD, 0), 0);
    EXPECT_EQ(app->m_appCommands, 1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_FIRST + 1, 0), 0);
    EXPECT_EQ(g_count.rangeId, ID_TEST_RANGE_FIRST + 1);
    // A button of the dialog bar reaches the view through the frame.
    frame->m_wndBar.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BAR_BUTTON, BN_CLICKED),
                                (LPARAM)frame->m_wndBar.GetDlgItem(IDC_BAR_BUTTON)->m_hWnd);
    EXPECT_EQ(g_count.barButton, 1);
}

TEST_F(DocFrameViewTest, UpdateHandlersDecideWhatTheMenuShows)
{
    EXPECT_EQ(MenuState(ID_TEST_ACTION) & MF_GRAYED, 0u);
    EXPECT_NE(MenuState(ID_TEST_DISABLED) & MF_GRAYED, 0u) << "its update handler disables it";
    EXPECT_NE(MenuState(ID_TEST_NOHANDLER) & MF_GRAYED, 0u) << "no handler anywhere";
    EXPECT_EQ(MenuState(ID_TEST_DOCCMD) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(ID_TEST_APPCMD) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuState(ID_APP_EXIT) & MF_GRAYED, 0u);

    // A disabled command is not carried out, from the menu or its accelerator.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_DISABLED, 0), 0);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_DISABLED, 1), 0);
    EXPECT_EQ(g_count.disabled, 0);

    // Bars: idle time asks the routing about panes and buttons.
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    const bool capsOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    EXPECT_EQ((frame->m_wndStatusBar.GetPaneStyle(1) & SBPS_DISABLED) == 0, capsOn);
    EXPECT_TRUE(frame->m_wndBar.GetDlgItem(IDC_BAR_BUTTON)->IsWindowEnabled());
    EXPECT_FALSE(frame->m_wndBar.GetDlgItem(IDC_BAR_ORPHAN)->IsWindowEnabled());
}

TEST_F(DocFrameViewTest, MenuPromptShowsInStatusBar)
{
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_ACTION, MF_STRING), (LPARAM)frame->GetMenu()->m_hMenu);
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Runs the test action");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
}

TEST(DocFrameViewFailureTest, AFrameOrViewWhoseWindowIsRefusedEndsExactlyOnce)
{
    // A window made and then destroyed during its creation has already
    // deleted its object (PostNcDestroy): the caller must not delete it again.
    const struct {
        const char* name;
        const CRuntimeClass* frame;
        const CRuntimeClass* view;
        int frameEnds, viewEnds;
    } cases[] = {
        {"frame refused", RUNTIME_CLASS(CRefusingFrame), RUNTIME_CLASS(CTestView), 1, 0},
        {"view refused", RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CRefusingView), 0, 1},
    };
    zvtest::GuiTestApp* app = &zvtest::TheGuiTestApp();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_refusingFrameEnds = g_refusingViewEnds = 0;
        app->m_pMainWnd = nullptr;
        app->AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), c.frame, c.view));
        EXPECT_EQ(app->OpenDocumentFile(nullptr), nullptr);
        zvtest::PumpPendingMessages();
        EXPECT_EQ(g_refusingFrameEnds, c.frameEnds);
        EXPECT_EQ(g_refusingViewEnds, c.viewEnds);
        EXPECT_EQ(app->m_pMainWnd, nullptr);
        app->RemoveDocTemplates();
    }
}

TEST_F(DocFrameViewTest, ClosingTheMainWindowEndsDocumentAndFrame)
{
    HWND hFrame = frame->m_hWnd;
    app->m_pMainWnd->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_EQ(static_cast<CSingleDocTemplate*>(app->GetFirstDocTemplate())->GetDocument(), nullptr);
    // The loop hears that the main window has gone.
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
