// Message maps on real windows: handle maps, subclassing, the current
// message, registered messages, and notifications reflected back to the
// control that sent them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "tests/support/ScriptedModal.h"

namespace {

const UINT kNotifyMessage = ::RegisterWindowMessageA("ZvTest_RegisteredMessage");
std::vector<std::string> g_log;

// A top-level window that logs what its map receives.
class CParentWnd : public CWnd {
public:
    BOOL CreateTop() { return CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr); }
    int m_created = 0;
    MSG m_seenCurrent{};

protected:
    int OnCreate(LPCREATESTRUCTA lpcs)
    {
        ++m_created;
        return CWnd::OnCreate(lpcs);
    }
    void OnButton() { g_log.push_back("parent:clicked"); }
    void OnListChanged(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("parent:itemchanged");
        *pResult = 0;
    }
    LRESULT OnRegistered(WPARAM wParam, LPARAM lParam)
    {
        m_seenCurrent = *GetCurrentMessage();
        return (LRESULT)(wParam + lParam);
    }
    LRESULT OnUserMessage(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        g_log.push_back("parent:drawitem");
        CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);  // the control draws itself
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_WM_CREATE()
    ON_BN_CLICKED(100, &CParentWnd::OnButton)
    ON_BN_CLICKED(101, &CParentWnd::OnButton)
    ON_NOTIFY(LVN_ITEMCHANGED, 200, &CParentWnd::OnListChanged)
    ON_REGISTERED_MESSAGE(kNotifyMessage, &CParentWnd::OnRegistered)
    ON_MESSAGE(WM_APP + 5, &CParentWnd::OnUserMessage)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

// Consumes its own click.
class CSelfButton : public CButton {
protected:
    void OnClickedReflect() { g_log.push_back("button:clicked"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &CSelfButton::OnClickedReflect)
END_MESSAGE_MAP()

// Looks at its click and lets the parent have it too.
class CSharingButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT) override { g_log.push_back("button:drawitem"); }

protected:
    BOOL OnClickedReflect()
    {
        g_log.push_back("button:saw-click");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSharingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSharingButton::OnClickedReflect)
END_MESSAGE_MAP()

// A list that handles its own LVN_ITEMCHANGED, and lets the parent see
// LVN_COLUMNCLICK.
class CReflectList : public CListCtrl {
public:
    int m_selected = -1;

protected:
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
        if ((nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED)) m_selected = nm->iItem;
        g_log.push_back("list:itemchanged");
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CReflectList::OnItemChanged)
END_MESSAGE_MAP()

// Owner-drawn boxes that count the item measures reflected back to them.
template <class Box> class CMeasuringBox : public Box {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        ++m_measured;
        lpMeasureItemStruct->itemHeight = 17;
    }
    int m_measured = 0;
};

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        ASSERT_TRUE(parent.CreateTop());
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        zvtest::PumpPendingMessages();
    }
    CParentWnd parent;
};

TEST_F(MessageMapTest, CreatedWindowIsOwnedFromItsFirstMessage)
{
    EXPECT_EQ(parent.m_created, 1) << "WM_CREATE reached the map";
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_hWnd), &parent);
    EXPECT_EQ(CWnd::FromHandle(parent.m_hWnd), &parent);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(parent.m_hWnd, GWLP_WNDPROC), &ZvWndProc);
}

TEST_F(MessageMapTest, ForeignWindowsGetTemporaryWrappersUntilIdle)
{
    HWND foreign =
        ::CreateWindowExA(0, "STATIC", "foreign", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CWnd* temp = CWnd::FromHandle(foreign);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), temp) << "one wrapper per handle";
    EXPECT_EQ(parent.GetDlgItem(0), temp);
    AfxDeleteTempMaps();
    EXPECT_TRUE(::IsWindow(foreign)) << "a temporary wrapper never destroys its window";
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

TEST_F(MessageMapTest, SubclassingRoutesAForeignWindowThroughTheMapAndBack)
{
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, parent.m_hWnd,
                                     (HMENU)100, nullptr, nullptr);
    const auto original = (WNDPROC)::GetWindowLongPtrA(hButton, GWLP_WNDPROC);
    CSelfButton button;
    ASSERT_TRUE(button.SubclassDlgItem(100, &parent));
    EXPECT_EQ(button.m_hWnd, hButton);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)hButton);
    EXPECT_EQ(g_log, (std::vector<std::string>{"button:clicked"})) << "the control consumed its click";

    EXPECT_EQ(button.UnsubclassWindow(), hButton);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hButton, GWLP_WNDPROC), original);
    g_log.clear();
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)hButton);
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent:clicked"}));
}

TEST_F(MessageMapTest, ReflectExLetsTheParentSeeTheNotificationToo)
{
    CSharingButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 20, 20), &parent, 101));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), (LPARAM)button.m_hWnd);
    EXPECT_EQ(g_log, (std::vector<std::string>{"button:saw-click", "parent:clicked"}));

    // Owner drawing: the parent's handler passes it to the control's DrawItem.
    g_log.clear();
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 101;
    dis.hwndItem = button.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 101, (LPARAM)&dis), TRUE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent:drawitem", "button:drawitem"}));
}

TEST_F(MessageMapTest, ReflectedListNotificationReachesTheListsOwnHandler)
{
    CReflectList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &parent, 200));
    list.InsertColumn(0, "Title", LVCFMT_LEFT, 100);
    ASSERT_EQ(list.InsertItem(0, "Bank login"), 0);
    ASSERT_EQ(list.InsertItem(1, "Email"), 1);
    g_log.clear();
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.m_selected, 1);
    ASSERT_FALSE(g_log.empty());
    for (const auto& entry : g_log) EXPECT_EQ(entry, "list:itemchanged") << "the parent never sees it";
    EXPECT_STREQ(list.GetItemText(0, 0), "Bank login");
    EXPECT_EQ(list.GetItemCount(), 2);
}

TEST_F(MessageMapTest, RegisteredAndNumberedMessagesReachTheirHandlers)
{
    EXPECT_EQ(parent.SendMessage(kNotifyMessage, 3, 4), 7);
    EXPECT_EQ(parent.m_seenCurrent.message, kNotifyMessage);
    EXPECT_EQ(parent.m_seenCurrent.hwnd, parent.m_hWnd);
    EXPECT_EQ(parent.m_seenCurrent.wParam, 3u);
    EXPECT_EQ(parent.SendMessage(WM_APP + 5, 21), 42);
    // Outside any handler the current message is the one handled around us.
    EXPECT_NE(CWnd::GetCurrentMessage()->message, kNotifyMessage);
}

TEST_F(MessageMapTest, DestroyingTheWindowDetachesItsObject)
{
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 5, 5), &parent, 300));
    HWND h = child.m_hWnd;
    parent.DestroyWindow();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(parent.m_hWnd, nullptr);
}

TEST_F(MessageMapTest, DestroyingAnAttachedWindowLetsGoOfItsHandle)
{
    // Attached without subclassing: WM_NCDESTROY never passes the framework.
    HWND h = ::CreateWindowExA(0, "STATIC", "attached", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(h, nullptr);
    CWnd attached;
    ASSERT_TRUE(attached.Attach(h));
    EXPECT_TRUE(attached.DestroyWindow());
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(attached.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST_F(MessageMapTest, ModifyStyleChangesOnlyTheAskedBitsOfEitherStyle)
{
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_BORDER, CRect(0, 0, 5, 5), &parent, 301));
    struct Case {
        bool extended;
        DWORD remove, add;
        BOOL changed;
        DWORD set, clear;  // bits that must be set / clear afterwards
    } cases[] = {
        {false, 0, WS_DISABLED, TRUE, WS_DISABLED | WS_BORDER | WS_CHILD, 0},
        {false, 0, WS_DISABLED, FALSE, WS_DISABLED, 0},  // already there
        {false, WS_DISABLED | WS_BORDER, 0, TRUE, WS_CHILD, WS_DISABLED | WS_BORDER},
        {true, 0, WS_EX_CLIENTEDGE, TRUE, WS_EX_CLIENTEDGE, 0},
        {true, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE, FALSE, WS_EX_CLIENTEDGE, 0},
        {true, WS_EX_CLIENTEDGE, 0, TRUE, 0, WS_EX_CLIENTEDGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.extended ? "ex " : "") << std::hex << c.remove << "/" << c.add);
        const DWORD other = c.extended ? child.GetStyle() : child.GetExStyle();
        EXPECT_EQ(c.extended ? child.ModifyStyleEx(c.remove, c.add, SWP_FRAMECHANGED)
                             : child.ModifyStyle(c.remove, c.add),
                  c.changed);
        const DWORD style = c.extended ? child.GetExStyle() : child.GetStyle();
        EXPECT_EQ(style & c.set, c.set);
        EXPECT_EQ(style & c.clear, 0u);
        EXPECT_EQ(c.extended ? child.GetStyle() : child.GetExStyle(), other) << "the other style stays";
    }
}

TEST_F(MessageMapTest, ListAndComboBoxesGiveWholeItemTextsAndTheirOwnerDrawMeasures)
{
    CMeasuringBox<CListBox> list;
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, CRect(0, 0, 100, 100), &parent, 400));
    CMeasuringBox<CComboBox> combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS,
                             CRect(0, 0, 100, 100), &parent, 401));
    const std::string longText(1000, 'x');
    for (const char* text : {"short", longText.c_str()}) {
        list.AddString(text);
        combo.AddString(text);
    }
    EXPECT_GE(list.m_measured, 2) << "every item of the list was measured by the list itself";
    EXPECT_GE(combo.m_measured, 2) << "every item of the combo box was measured by the box itself";
    EXPECT_EQ(list.SendMessage(LB_GETITEMHEIGHT, 1), 17);

    struct Case {
        int index;
        std::string text;
    } cases[] = {{0, "short"}, {1, longText}, {2, ""}, {-1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CString fromList("left over"), fromCombo("left over");
        list.GetText(c.index, fromList);
        combo.GetLBText(c.index, fromCombo);
        EXPECT_EQ(std::string(fromList.GetString()), c.text);
        EXPECT_EQ(std::string(fromCombo.GetString()), c.text);
    }
}

// ---- Threads ------------------------------------------------------------------

UINT AddOne(LPVOID param)
{
    auto* value = static_cast<LONG*>(param);
    ::InterlockedIncrement(value);
    return 42;
}

TEST(ThreadTest, WorkerThreadRunsAndEndsCleanly)
{
    LONG value = 0;
    CWinThread* thread = AfxBeginThread(&AddOne, &value, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    EXPECT_EQ(value, 0) << "created suspended";
    thread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(value, 1);
    delete thread;
}

UINT SignalAndEnd(LPVOID param)
{
    ::SetEvent(static_cast<HANDLE>(param));
    return 0;
}

TEST(ThreadTest, AutoDeletingWorkersFinishOnTheirOwn)
{
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (int i = 0; i < 8; ++i) {
        ::ResetEvent(done);
        ASSERT_NE(AfxBeginThread(&SignalAndEnd, done), nullptr);
        EXPECT_EQ(::WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
    }
    ::CloseHandle(done);
}

// A user-interface thread: its own message loop, ended by WM_QUIT.
class CUiThread : public CWinThread {
    DECLARE_DYNCREATE(CUiThread)
public:
    static LONG s_seen;
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override { return CWinThread::ExitInstance() + 100; }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP + 1) {
            ::InterlockedIncrement(&s_seen);
            ::PostQuitMessage(7);
            return TRUE;
        }
        return CWinThread::PreTranslateMessage(pMsg);
    }
};
LONG CUiThread::s_seen = 0;
IMPLEMENT_DYNCREATE(CUiThread, CWinThread)

TEST(ThreadTest, UserInterfaceThreadPumpsUntilQuit)
{
    CUiThread::s_seen = 0;
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    // The thread's queue exists once it has called GetMessage; retry until posted.
    bool posted = false;
    for (int i = 0; i < 200 && !posted; ++i) {
        posted = thread->PostThreadMessage(WM_APP + 1, 0, 0) != FALSE;
        if (!posted) ::Sleep(10);
    }
    ASSERT_TRUE(posted);
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(code, 107u);
    EXPECT_EQ(CUiThread::s_seen, 1);
    delete thread;
}

}  // namespace
