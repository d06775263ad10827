// Common dialogs and the folder picker through the modal seam, the sync
// objects, and the registration of a template's document type.
#include <gtest/gtest.h>

#include "framework/CommonDialogs.h"
#include "framework/Gdi.h"
#include "tests/framework/GuiTestRes.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/SyncObjects.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "tests/framework/GuiTestApp.h"
#include "tests/support/ScriptedModal.h"

namespace {

using zvtest::ScriptedModal;

TEST(CommonDialogTest, FileDialogTakesTheScriptedPath)
{
    ScriptedModal script;
    script.AnswerFileName("C:\\Exports\\records.backup.zkv");
    script.AnswerFileName(nullptr);
    CFileDialog dlg(TRUE, "zkv", nullptr, OFN_FILEMUSTEXIST, "Zorvikan Files (*.zkv)|*.zkv|All Files (*.*)|*.*||");
    dlg.m_ofn.lpstrTitle = "Import";
    EXPECT_STREQ(dlg.m_ofn.lpstrFilter, "Zorvikan Files (*.zkv)");
    EXPECT_STREQ(dlg.m_ofn.lpstrFilter + strlen("Zorvikan Files (*.zkv)") + 1, "*.zkv");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetPathName(), "C:\\Exports\\records.backup.zkv");
    EXPECT_STREQ(dlg.GetFileName(), "records.backup.zkv");
    EXPECT_STREQ(dlg.GetFileExt(), "zkv");
    EXPECT_STREQ(dlg.GetFileTitle(), "records.backup");

    CFileDialog save(FALSE, "zkv", "default.zkv");
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    ASSERT_EQ(script.FileDialogTitles().size(), 2u);
    EXPECT_EQ(script.FileDialogTitles()[0], "Import");
    EXPECT_TRUE(script.Unanswered().empty());
}

TEST(CommonDialogTest, FontColourAndFolderAnswers)
{
    ScriptedModal script;
    LOGFONTA font{};
    lstrcpyA(font.lfFaceName, "Tahoma");
    font.lfHeight = -16;
    script.AnswerFont(font);
    script.AnswerColor(RGB(1, 2, 3));
    script.AnswerFolder("C:\\Backups");
    script.AnswerFolder(nullptr);

    CFontDialog fontDlg;
    ASSERT_EQ(fontDlg.DoModal(), IDOK);
    EXPECT_STREQ(fontDlg.GetFaceName(), "Tahoma");
    EXPECT_GT(fontDlg.GetSize(), 0);

    CColorDialog colorDlg(RGB(255, 255, 255));
    ASSERT_EQ(colorDlg.DoModal(), IDOK);
    EXPECT_EQ(colorDlg.GetColor(), RGB(1, 2, 3));

    CString folder("unchanged");
    EXPECT_TRUE(AfxBrowseForFolder(nullptr, "Choose default backup location", nullptr, folder));
    EXPECT_STREQ(folder, "C:\\Backups");
    folder = "unchanged";
    EXPECT_FALSE(AfxBrowseForFolder(nullptr, "Choose default restore location", nullptr, folder));
    EXPECT_STREQ(folder, "unchanged");
    EXPECT_EQ(script.FolderTitles(),
              (std::vector<std::string>{"Choose default backup location", "Choose default restore location"}));

    // Nothing scripted: cancelled and reported, never shown.
    CColorDialog unanswered;
    EXPECT_EQ(unanswered.DoModal(), IDCANCEL);
    EXPECT_EQ(script.Unanswered(), (std::vector<std::string>{"colour dialog"}));
}

// ---- Sync objects -------------------------------------------------------------

struct HoldArgs {
    CSyncObject* object;
    HANDLE locked;
    HANDLE release;
};

UINT HoldLock(LPVOID param)
{
    auto* args = static_cast<HoldArgs*>(param);
    CSingleLock lock(args->object, TRUE);
    ::SetEvent(args->locked);
    ::WaitForSingleObject(args->release, 10000);
    return 0;
}

TEST(SyncObjectTest, NamedMutexIsSharedAndTimesOutWhileHeldElsewhere)
{
    CMutex mutex(FALSE, "ZvTest_GuiFrameworkMutex");
    CMutex sameName(FALSE, "ZvTest_GuiFrameworkMutex");
    ASSERT_NE(mutex.m_hObject, nullptr);
    EXPECT_EQ(::GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);

    CEvent locked(FALSE, TRUE), release(FALSE, TRUE);
    HoldArgs args{&mutex, locked.m_hObject, release.m_hObject};
    CWinThread* holder = AfxBeginThread(&HoldLock, &args, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(holder, nullptr);
    holder->m_bAutoDelete = FALSE;
    holder->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(locked.m_hObject, 10000), WAIT_OBJECT_0);

    CSingleLock attempt(&sameName);
    EXPECT_FALSE(attempt.Lock(50)) << "held by the other thread";
    EXPECT_FALSE(attempt.IsLocked());
    release.SetEvent();
    ASSERT_EQ(::WaitForSingleObject(holder->m_hThread, 10000), WAIT_OBJECT_0);
    delete holder;
    EXPECT_TRUE(attempt.Lock(1000));
    EXPECT_TRUE(attempt.IsLocked());
    EXPECT_TRUE(attempt.Unlock());
    EXPECT_FALSE(attempt.IsLocked());
}

TEST(SyncObjectTest, CriticalSectionAndEvents)
{
    CCriticalSection section;
    {
        CSingleLock lock(&section, TRUE);
        EXPECT_TRUE(lock.IsLocked());
    }  // released here: a second lock does not block
    CSingleLock again(&section, TRUE);
    EXPECT_TRUE(again.IsLocked());

    CEvent autoReset;
    EXPECT_FALSE(autoReset.Lock(0));
    autoReset.SetEvent();
    EXPECT_TRUE(autoReset.Lock(0));
    EXPECT_FALSE(autoReset.Lock(0)) << "an auto-reset event lets one waiter through";
    CEvent manual(TRUE, TRUE);
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
}

// ---- Shell registration ---------------------------------------------------------

class CShellDoc : public CDocument {
    DECLARE_DYNCREATE(CShellDoc)
};
IMPLEMENT_DYNCREATE(CShellDoc, CDocument)

CString ClassesValue(const char* key)
{
    char value[MAX_PATH * 2] = {};
    LONG size = sizeof(value);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS) return CString("<none>");
    return CString(value);
}

TEST(ShellRegistrationTest, TemplateDocumentTypeIsRegistered)
{
    auto& app = zvtest::TheGuiTestApp();
    app.RemoveDocTemplates();
    app.AddDocTemplate(
        new CSingleDocTemplate(200, RUNTIME_CLASS(CShellDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CView)));
    app.EnableShellOpen();
    app.RegisterShellFileTypes(TRUE);

    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const CString quoted = CString("\"") + exe + "\"";
    EXPECT_STREQ(ClassesValue(".tst"), "Test.Document");
    EXPECT_STREQ(ClassesValue("Test.Document"), "Tst");
    EXPECT_STREQ(ClassesValue("Test.Document\\DefaultIcon"), CString(exe) + ",0");
    EXPECT_STREQ(ClassesValue("Test.Document\\shell\\open\\command"), quoted + " \"%1\"");
    EXPECT_STREQ(ClassesValue("Test.Document\\shell\\open\\ddeexec"), "<none>");
    EXPECT_STREQ(ClassesValue("Test.Document\\shell\\print\\command"), quoted + " /p \"%1\"");
    EXPECT_STREQ(ClassesValue("Test.Document\\shell\\printto\\command"), quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");

    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "Test.Document");
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tst");
    app.RemoveDocTemplates();
}

}  // namespace

namespace {

// The four pixels of the fixture as 0x00RRGGBB after loading.
std::vector<COLORREF> LoadedPixels(HBITMAP bitmap)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 4;
    bmi.bmiHeader.biHeight = -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    DWORD pixels[4] = {};
    HDC screen = ::GetDC(nullptr);
    int lines = ::GetDIBits(screen, bitmap, 0, 1, pixels, &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    std::vector<COLORREF> out;
    if (lines != 1) return out;
    for (DWORD p : pixels) out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

TEST(SysColorBitmapTest, GreysBecomeTheButtonColours)
{
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(IDB_GREYS), (LPCSTR)RT_BITMAP);
    ASSERT_NE(res, nullptr);
    HBITMAP bitmap = AfxLoadSysColorBitmap(module, res);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectA(bitmap, sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 1);
    HDC screen = ::GetDC(nullptr);
    const bool trueColour = ::GetDeviceCaps(screen, BITSPIXEL) >= 24;
    ::ReleaseDC(nullptr, screen);
    if (trueColour) {
        EXPECT_EQ(LoadedPixels(bitmap),
                  (std::vector<COLORREF>{::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW),
                                         ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT)}));
    }
    ::DeleteObject(bitmap);

    // Not a bitmap resource at all: nothing, and no read past its end.
    HRSRC menu = ::FindResourceA(module, MAKEINTRESOURCEA(200), (LPCSTR)RT_MENU);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(AfxLoadSysColorBitmap(module, menu), nullptr);
    EXPECT_EQ(AfxLoadSysColorBitmap(module, nullptr), nullptr);
}

}  // namespace
