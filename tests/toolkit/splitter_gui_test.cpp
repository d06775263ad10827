// The splitter's drag in a real window: the line follows the mouse in the
// capture window's co-ordinates whatever lies between it and the view, stops
// at its limits, and Escape puts it back. Deferred moves stop after a
// failed step.
#include <gtest/gtest.h>

#include "tests/support/ScriptedModal.h"
#include "tests/toolkit/ToolkitGuiSupport.h"
#include "toolkit/layout/SplitterBar.h"

namespace {

using zvtest::RecordingWnd;

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.CreateTop(0, 0, 800, 600));
        // The view sits inside the frame, off both its edges (a tool bar
        // above it, a border to its left).
        ASSERT_TRUE(m_view.CreateChild(&m_frame, kViewX, kViewY, 700, 450, 0xE900));
        m_bar.SetLine({200, 10}, {200, 400});
        m_bar.SetMinLine({100, 10}, {100, 400});
        m_bar.SetMaxLine({300, 10}, {300, 400});
        zvtest::PumpPendingMessages();
    }
    // Mouse messages the drag loop will find, in the frame's co-ordinates.
    void PostToFrame(UINT message, int viewX, int viewY, WPARAM keys = 0)
    {
        m_frame.PostMessage(message, keys, MAKELPARAM(viewX + kViewX, viewY + kViewY));
    }
    int LineX()
    {
        POINT start{}, end{};
        m_bar.GetLine(start, end);
        EXPECT_EQ(10, start.y);
        EXPECT_EQ(400, end.y);
        return start.x;
    }
    static constexpr int kViewX = 20;
    static constexpr int kViewY = 60;
    RecordingWnd m_frame;
    RecordingWnd m_view;
    CSplitterBar m_bar;
};

TEST_F(SplitterTest, LineFollowsTheMouseInTheViewsCoordinates)
{
    PostToFrame(WM_MOUSEMOVE, 220, 100, MK_LBUTTON);
    PostToFrame(WM_LBUTTONUP, 230, 100);
    EXPECT_TRUE(m_bar.OnLButtonDown(&m_frame, &m_view, 200, 100));
    EXPECT_EQ(230, LineX());
}

TEST_F(SplitterTest, ReleaseBeyondALimitKeepsTheLimit)
{
    PostToFrame(WM_LBUTTONUP, 350, 100);
    EXPECT_TRUE(m_bar.OnLButtonDown(&m_frame, &m_view, 200, 100));
    EXPECT_EQ(300, LineX());
    PostToFrame(WM_LBUTTONUP, 20, 100);
    EXPECT_TRUE(m_bar.OnLButtonDown(&m_frame, &m_view, 300, 100));
    EXPECT_EQ(100, LineX());
}

TEST_F(SplitterTest, EscapeOrRightButtonPutsTheLineBack)
{
    PostToFrame(WM_MOUSEMOVE, 250, 100, MK_LBUTTON);
    m_frame.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(m_bar.OnLButtonDown(&m_frame, &m_view, 200, 100));
    EXPECT_EQ(200, LineX());
    PostToFrame(WM_MOUSEMOVE, 250, 100, MK_LBUTTON);
    PostToFrame(WM_RBUTTONDOWN, 250, 100);
    EXPECT_FALSE(m_bar.OnLButtonDown(&m_frame, &m_view, 200, 100));
    EXPECT_EQ(200, LineX());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(SplitterTest, ClickOffTheLineStartsNoDrag)
{
    EXPECT_FALSE(m_bar.OnLButtonDown(&m_frame, &m_view, 250, 100));
    EXPECT_EQ(200, LineX());
}

TEST_F(SplitterTest, SizingCursorOnlyOverTheLineInTheClientArea)
{
    POINT onLine{205, 100}, offLine{250, 100};
    m_view.ClientToScreen(&onLine);
    m_view.ClientToScreen(&offLine);
    ::SetCursorPos(onLine.x, onLine.y);
    EXPECT_TRUE(m_bar.OnSetCursor(&m_view, HTCLIENT));
    EXPECT_EQ(::LoadCursor(nullptr, IDC_SIZEWE), ::GetCursor());
    EXPECT_FALSE(m_bar.OnSetCursor(&m_view, HTCAPTION));
    ::SetCursorPos(offLine.x, offLine.y);
    EXPECT_FALSE(m_bar.OnSetCursor(&m_view, HTCLIENT));
}

TEST_F(SplitterTest, DeferredMovesStopAfterAFailedStep)
{
    CDeferWindowPos defer(2);
    EXPECT_TRUE(defer.Move(&m_view, 5, 5, 100, 100, TRUE));
    EXPECT_FALSE(defer.Move((HWND)(UINT_PTR)0x1234, 0, 0, 10, 10, TRUE));
    EXPECT_FALSE(defer.Move(&m_view, 7, 7, 50, 50, TRUE));
    EXPECT_FALSE(defer.End());
    RECT rc{};
    m_view.GetWindowRect(&rc);
    m_frame.ScreenToClient(&rc);
    EXPECT_EQ(kViewX, rc.left);  // nothing moved
    CDeferWindowPos ok(1);
    EXPECT_TRUE(ok.Move(&m_view, 5, 6, 100, 100, FALSE));
    EXPECT_TRUE(ok.End());
    m_view.GetWindowRect(&rc);
    m_frame.ScreenToClient(&rc);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(6, rc.top);
}

}  // namespace
