// The main view's custom icons on a scratch data root: read at the start,
// missing ones repaired, the icon image list built from them, the chooser's
// Add Icon making 48 x 48 PNG files numbered from 1000 (by full path, the
// current folder left alone), Delete Icon, and the ordinary close it asks
// for; the mode commands, Tab between the panel's lists and the heading
// colour.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/res/ChooseIconRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/icons/ChooseIconDlg.h"
#include "mainwindow/icons/ExternalIcons.h"
#include "mainwindow/models/ViewState.h"
#include "mainwindow/upkeep/ViewUpkeepRules.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/EnableProbe.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

namespace fs = std::filesystem;
using zvtest::TestKey;

const CLSID* EncoderOf(const wchar_t* mime)
{
    static std::vector<BYTE> buffer;
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    buffer.resize(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, mime) == 0) return &codecs[i].Clsid;
    return nullptr;
}

// A picture of one colour written by GDI+ in the format given.
void WritePicture(const fs::path& path, int w, int h, Gdiplus::Color colour, const wchar_t* mime = L"image/png")
{
    Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(colour);
    }
    const CLSID* encoder = EncoderOf(mime);
    ASSERT_NE(nullptr, encoder);
    ASSERT_EQ(Gdiplus::Ok, bitmap.Save(path.wstring().c_str(), encoder, nullptr));
}

// Width and height of a picture file; 0 x 0 when GDI+ cannot read it.
std::pair<UINT, UINT> PictureSize(const fs::path& path)
{
    Gdiplus::Bitmap bitmap(path.wstring().c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return {0, 0};
    return {bitmap.GetWidth(), bitmap.GetHeight()};
}

// How many pixels of an image list's image are pure red.
int RedPixels(HIMAGELIST list, int image)
{
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 19, 15);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    const RECT all{0, 0, 19, 15};
    ::FillRect(mem, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ImageList_Draw(list, image, mem, 0, 0, ILD_NORMAL);
    int red = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 19; ++x)
            if (::GetPixel(mem, x, y) == RGB(255, 0, 0)) ++red;
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return red;
}

// The chooser's host over the view, with the two steps that leave the
// program (the file manager, the exit) only recorded.
class RecordingHost : public IIconChooserHost {
public:
    explicit RecordingHost(CZorvikanDesktopView& view) : m_view(view) {}
    CString GetIconsFolder() override { return m_view.GetIconsFolder(); }
    CExternalIconResList& GetCustomIcons() override { return m_view.GetCustomIcons(); }
    bool DrawItemIcon(CDC* pDC, const CRect& rect, int id) override { return m_view.DrawItemIcon(pDC, rect, id); }
    void AddCustomIconFile(const CString& fileName) override { m_view.AddCustomIconFile(fileName); }
    void RebuildIconImageList() override { m_view.RebuildIconImageList(); }
    void ShowFileInExplorer(const CString& path) override { shown.push_back(std::string(path)); }
    void RequestExit() override { ++exits; }
    std::vector<std::string> shown;
    int exits = 0;

private:
    CZorvikanDesktopView& m_view;
};

class ViewIcons : public zvtest::AppWindowTest {
protected:
    ViewIcons() : AppWindowTest("zvicons") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_gdiplus, &input, nullptr));
        fs::create_directories(IconsFolder());
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        Gdiplus::GdiplusShutdown(m_gdiplus);
    }

    CUserItem* User() { return App().GetCurrentUser(); }
    fs::path IconsFolder() { return fs::path(CAppPrefMgr::GetInstance()->GetIconsDirectory(User()).GetString()); }
    CString UserFolder() { return CAppPrefMgr::GetInstance()->GetUserDirectory(User()); }
    void WriteIcon(int id, Gdiplus::Color colour = Gdiplus::Color(255, 255, 0, 0))
    {
        WritePicture(IconsFolder() / (std::to_string(id) + ".png"), 48, 48, colour);
    }
    std::set<int> CustomIds()
    {
        std::set<int> ids;
        for (WORD id : m_view->GetCustomIcons().GetIds()) ids.insert(id);
        return ids;
    }

    ULONG_PTR m_gdiplus = 0;
};

TEST_F(ViewIcons, StartReadsThePngFilesAndRepairsItemsWhoseFileIsGone)
{
    WriteIcon(1000);
    WritePicture(IconsFolder() / "abc.png", 20, 20, Gdiplus::Color(255, 0, 0, 255));
    WritePicture(IconsFolder() / "icon.jpg", 20, 20, Gdiplus::Color(255, 0, 0, 255), L"image/jpeg");
    std::ofstream(IconsFolder() / "broken.png") << "not a picture";
    {
        CDatabaseObj db;
        ASSERT_EQ(0, db.OpenInFolder(UserFolder()));
        auto* kept = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        kept->SetName("Kept");
        kept->SetKey(TestKey(0x51).b);
        kept->SetIcon(1000);
        db.GetTypes().Add(kept);
        auto* lost = static_cast<CTypeItem*>(db.GetTypes().NewItem());
        lost->SetName("Lost");
        lost->SetKey(TestKey(0x52).b);
        lost->SetIcon(1005);
        db.GetTypes().Add(lost);
        auto* edge = static_cast<CRecord*>(db.GetRecords().NewItem());
        edge->SetField(0, "Edge");
        edge->SetIcon(64);
        db.GetRecords().Add(edge);
        auto* record = static_cast<CRecord*>(db.GetRecords().NewItem());
        record->SetField(0, "Lost too");
        record->SetIcon(2000);
        db.GetRecords().Add(record);
        ASSERT_EQ(0, db.Save());
    }
    OpenWindow();

    // abc.png is an icon of id 0; the JPEG and the unreadable file are not.
    EXPECT_EQ((std::set<int>{0, 1000}), CustomIds());

    CDatabaseObj saved;
    ASSERT_EQ(0, saved.OpenInFolder(UserFolder()));
    std::map<std::string, int> icons;
    for (POSITION pos = saved.GetTypes().GetHeadPosition(); pos;) {
        auto* type = static_cast<CTypeItem*>(saved.GetTypes().GetNext(pos));
        icons[std::string(type->GetName())] = type->GetIcon();
    }
    for (POSITION pos = saved.GetRecords().GetHeadPosition(); pos;) {
        auto* record = static_cast<CRecord*>(saved.GetRecords().GetNext(pos));
        icons[std::string(record->GetField(0))] = record->GetIcon();
    }
    EXPECT_EQ(1000, icons["Kept"]);
    EXPECT_EQ(24, icons["Lost"]);
    EXPECT_EQ(64, icons["Edge"]);
    EXPECT_EQ(24, icons["Lost too"]);

    // The icons read hold no file open: a sync may replace them.
    std::error_code error;
    EXPECT_TRUE(fs::remove(IconsFolder() / "1000.png", error)) << error.message();
}

TEST_F(ViewIcons, ImageListHasACellPerIdUpToTheLargestSaneOne)
{
    WriteIcon(1000);
    WriteIcon(65000);
    WritePicture(IconsFolder() / "7x.png", 48, 48, Gdiplus::Color(255, 255, 0, 0));
    OpenWindow();
    EXPECT_EQ((std::set<int>{7, 1000, 65000}), CustomIds());

    CImageList& list = m_view->GetSmallIcons();
    // 65000 would need 65001 cells: it is left out of the list.
    EXPECT_EQ(1001, list.GetImageCount());
    EXPECT_GT(RedPixels(list.GetSafeHandle(), 1000), 50);
    // A custom icon with a built-in id does not replace the built-in picture.
    EXPECT_EQ(0, RedPixels(list.GetSafeHandle(), 7));
    EXPECT_EQ(0, RedPixels(list.GetSafeHandle(), 999));
    // The chooser and the editors draw every custom icon, 65000 too.
    CClientDC dc(m_view);
    EXPECT_TRUE(m_view->DrawItemIcon(&dc, CRect(0, 0, 20, 20), 65000));
    EXPECT_TRUE(m_view->DrawItemIcon(&dc, CRect(0, 0, 20, 20), 63));
    EXPECT_FALSE(m_view->DrawItemIcon(&dc, CRect(0, 0, 20, 20), 1234));
}

TEST_F(ViewIcons, PanelAndTreeKeepTheRebuiltImageListAcrossModeChanges)
{
    WriteIcon(1000);
    OpenWindow();
    m_view->SendMessage(WM_COMMAND, ID_VIEW_PANEL, 0);
    m_view->RebuildIconImageList();
    const HIMAGELIST list = m_view->GetSmallIcons().GetSafeHandle();
    EXPECT_EQ(list, ListView_GetImageList(m_view->GetPanelTypes().m_hWnd, LVSIL_SMALL));
    EXPECT_EQ(list, ListView_GetImageList(m_view->GetPanelSmartLists().m_hWnd, LVSIL_SMALL));
    // Leaving panel mode destroys its lists; the view's image list lives on.
    m_view->SendMessage(WM_COMMAND, ID_VIEW_TREE, 0);
    EXPECT_EQ(1001, ImageList_GetImageCount(list));
    EXPECT_EQ(list, TreeView_GetImageList(m_view->GetTree().m_hWnd, TVSIL_NORMAL));
    m_view->SendMessage(WM_COMMAND, ID_VIEW_LIST, 0);
    EXPECT_EQ(1001, ImageList_GetImageCount(list));
}

TEST_F(ViewIcons, AddIconNumbersFrom1000BySavingFullPaths)
{
    WriteIcon(1000);
    WriteIcon(1002);
    OpenWindow();
    zvtest::ScratchDir pictures("zvpictures");
    WritePicture(pictures / "wide.bmp", 100, 60, Gdiplus::Color(255, 0, 200, 0), L"image/bmp");
    WritePicture(pictures / "tall.png", 30, 90, Gdiplus::Color(255, 0, 0, 200));
    pictures.WriteFile("notes.txt", "not a picture");
    zvtest::ScratchDir elsewhere("zvcwd");
    const fs::path before = elsewhere.Path();
    ::SetCurrentDirectoryA(before.string().c_str());

    zvtest::ScriptedModal modal;
    modal.AnswerFileName((pictures / "wide.bmp").string().c_str());
    int selectedAfterAdd = -1;
    bool deleteEnabled = false;
    modal.OnModal([&](CWnd& wnd) {
        zvtest::ScriptedModal::PressButton(wnd, IDC_ADD_ICON);
        auto& dlg = static_cast<CChooseIconDlg&>(wnd);
        selectedAfterAdd = dlg.GetSelectedIconId();
        deleteEnabled = ::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDC_DELETE_ICON)) != FALSE;
        // Three at once: the text file makes no icon, the rest still come.
        dlg.AddPictures(
            {CString((pictures / "notes.txt").string().c_str()), CString((pictures / "tall.png").string().c_str())});
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    int id = 5;
    ASSERT_TRUE(m_view->ChooseIcon(id, nullptr));
    EXPECT_TRUE(modal.Unanswered().empty());

    EXPECT_EQ(1001, selectedAfterAdd);
    EXPECT_TRUE(deleteEnabled);
    // notes.txt took no number: tall.png got the next free one, 1003.
    EXPECT_EQ(1003, id);
    EXPECT_EQ((std::pair<UINT, UINT>{48, 48}), PictureSize(IconsFolder() / "1001.png"));
    EXPECT_EQ((std::pair<UINT, UINT>{48, 48}), PictureSize(IconsFolder() / "1003.png"));
    EXPECT_FALSE(fs::exists(IconsFolder() / "1004.png"));
    EXPECT_EQ((std::set<int>{1000, 1001, 1002, 1003}), CustomIds());
    EXPECT_EQ(1004, m_view->GetSmallIcons().GetImageCount());
    // The current folder was neither changed nor written to.
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(fs::path(current), before);
    EXPECT_TRUE(fs::is_empty(before));
    ::SetCurrentDirectoryA(m_root.Path().string().c_str());
}

TEST_F(ViewIcons, DeleteIconExplainsThenShowsTheFileAndAsksForTheExit)
{
    WriteIcon(999);
    WriteIcon(1000);
    OpenWindow();
    RecordingHost host(*m_view);
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDNO);
    modal.AnswerMessageBox(IDYES);
    bool builtInEnabled = true;
    modal.OnModal([&](CWnd& wnd) {
        auto& dlg = static_cast<CChooseIconDlg&>(wnd);
        builtInEnabled = ::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDC_DELETE_ICON)) != FALSE;
        // A custom icon below 1000: nothing is asked.
        dlg.SelectIconId(999);
        zvtest::ScriptedModal::PressButton(wnd, IDC_DELETE_ICON);
        dlg.SelectIconId(1000);
        zvtest::ScriptedModal::PressButton(wnd, IDC_DELETE_ICON);  // No
        zvtest::ScriptedModal::PressButton(wnd, IDC_DELETE_ICON);  // Yes
    });
    CChooseIconDlg dlg(host, m_view);
    dlg.SelectIconId(12);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(builtInEnabled);
    ASSERT_EQ(2u, modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, modal.MessageBoxes()[0].text.find("you would need to exit Zorvikan Desktop"));
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), modal.MessageBoxes()[0].type);
    ASSERT_EQ(1u, host.shown.size());
    EXPECT_EQ((IconsFolder() / "1000.png").string(), host.shown[0]);
    EXPECT_EQ(1, host.exits);
    EXPECT_TRUE(dlg.IsExitRequested());
    EXPECT_TRUE(fs::exists(IconsFolder() / "1000.png"));
}

TEST_F(ViewIcons, ExitForIconDeletionClosesTheDialogsFirstThenTheFrame)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    bool frameEnabled = true;
    modal.OnModal([&](CWnd&) {
        frameEnabled = ::IsWindowEnabled(m_hFrame) != FALSE;
        m_view->PostMessage(WM_CLOSE_FOR_ICON_DELETION, 0, 0);
    });
    int id = 3;
    EXPECT_FALSE(m_view->ChooseIcon(id, nullptr));
    EXPECT_FALSE(frameEnabled);
    EXPECT_TRUE(modal.Unanswered().empty());
    for (int i = 0; i < 20 && ::IsWindow(m_hFrame); ++i) zvtest::PumpPendingMessages();
    EXPECT_FALSE(::IsWindow(m_hFrame));
}

TEST_F(ViewIcons, ModeCommandsTabAndHeadingColour)
{
    OpenWindow();
    // Whether each mode command is enabled, asked through the view's map.
    auto states = [&]() {
        std::vector<bool> on;
        for (UINT id : {(UINT)ID_VIEW_LIST, (UINT)ID_VIEW_TREE, (UINT)ID_VIEW_PANEL, (UINT)ID_SELECT_ALL}) {
            zvtest::EnableProbe probe;
            probe.m_nID = id;
            EXPECT_TRUE(probe.DoUpdate(m_view, FALSE));
            on.push_back(probe.on);
        }
        return on;
    };
    EXPECT_EQ((std::vector<bool>{false, true, true, true}), states());
    m_view->SendMessage(WM_COMMAND, ID_VIEW_PANEL, 0);
    ASSERT_EQ(kViewModePanel, m_view->GetViewMode());
    EXPECT_EQ((std::vector<bool>{true, true, false, false}), states());

    // Shift+Tab from the type list lands in the smart lists.
    m_view->GetPanelTypes().SetFocus();
    ASSERT_TRUE(m_view->FocusPreviousPane());
    EXPECT_EQ(m_view->GetPanelSmartLists().m_hWnd, ::GetFocus());
    EXPECT_EQ(0, m_view->GetPanelSmartLists().GetNextItem(-1, LVNI_SELECTED));
    ASSERT_TRUE(m_view->FocusNextPane());
    EXPECT_EQ(m_view->GetPanelTypes().m_hWnd, ::GetFocus());
    ASSERT_TRUE(m_view->FocusNextPane());
    EXPECT_EQ(m_view->GetPanelRecords().m_hWnd, ::GetFocus());

    m_view->SendMessage(WM_COMMAND, ID_VIEW_TREE, 0);
    EXPECT_EQ((std::vector<bool>{true, false, true, false}), states());
    ASSERT_TRUE(m_view->FocusNextPane());
    EXPECT_EQ(m_view->GetTree().m_hWnd, ::GetFocus());
    EXPECT_EQ(HeadingColourOf((uint32_t)m_view->GetRowColor()), (uint32_t)m_view->GetHeadingColour());
}

}  // namespace
