// The main view's import and export commands over the exchange layer, on a
// scratch data root: files chosen in the menu's dialogs, dropped on the view
// or named on the command line end up in the database, saved once per
// import; protected files ask for their password; exports go through their
// scripted dialogs and read back.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/res/ExchangeRes.h"
#include "app/services/ExchangeService.h"
#include "core/items/Record.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefs.h"
#include "exchange/dialogs/ExchangeService.h"
#include "mainwindow/MainWindowIds.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"
#include "toolkit/ToolkitIds.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

int g_databaseSaves = 0;

int CountDatabaseSaves(const CString&, const CString& target)
{
    if (target.Right(20).CompareNoCase("ZorvikanDatabase.zdb") == 0) ++g_databaseSaves;
    return 0;
}

std::string Fixture(const std::string& name)
{
    return zvtest::ReadFileBytes(std::filesystem::path(ZV_EXCHANGE_FIXTURES) / name);
}

// A drop of the files as the shell makes it: a DROPFILES header followed by
// the ANSI paths, each ended by a zero, and one more zero.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

class ViewExchange : public zvtest::AppWindowTest {
protected:
    ViewExchange() : AppWindowTest("zvexchange") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        m_previousService = SetExchangeService(&m_service);
        g_databaseSaves = 0;
        m_previousHook = SetBeforeReplaceHook(&CountDatabaseSaves);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        SetBeforeReplaceHook(m_previousHook);
        SetExchangeService(m_previousService);
    }

    void Open()
    {
        OpenWindow();
        zvtest::PumpPendingMessages();
        g_databaseSaves = 0;
    }

    // A copy of an exchange fixture in the scratch root under another name.
    std::string Copy(const std::string& fixture, const std::string& name)
    {
        return zvtest::WinPath(m_root.WriteFile(name, Fixture(fixture))).Std();
    }
    std::string ScratchPath(const std::string& name) { return zvtest::WinPath(m_root.Path() / name).Std(); }

    int LiveRecords() const
    {
        int count = 0;
        for (POSITION pos = m_view->GetDatabase().GetRecords().GetHeadPosition(); pos;) {
            const CBaseItem* item = static_cast<const CBaseItem*>(m_view->GetDatabase().GetRecords().GetNext(pos));
            if (!item->IsDeleted()) ++count;
        }
        return count;
    }
    int SavedRecords() const
    {
        CDatabaseObj saved;
        if (saved.Load(m_view->GetDatabase().GetFilePath()) != 0) return -1;
        return (int)saved.GetRecords().GetCount();
    }

    // Answers the confirmation dialog with its only button, noting its title,
    // text and list.
    void ExpectConfirmation(zvtest::ScriptedModal& modal)
    {
        modal.OnModal([this](CWnd& wnd) {
            m_confirmationTitle = WindowText(wnd.m_hWnd);
            m_confirmationText = WindowText(::GetDlgItem(wnd.m_hWnd, IDC_CONFIRMATION_TEXT));
            m_confirmationRows = (int)::SendDlgItemMessageA(wnd.m_hWnd, IDC_CONFIRMATION_LIST, LB_GETCOUNT, 0, 0);
            m_yesVisible = ::IsWindowVisible(::GetDlgItem(wnd.m_hWnd, IDOK)) != FALSE;
            m_noCaption = WindowText(::GetDlgItem(wnd.m_hWnd, IDCANCEL));
            m_textFits = TextFits(wnd.m_hWnd);
            zvtest::ScriptedModal::PressButton(wnd, IDCANCEL);
        });
    }
    // The confirmation's text is drawn whole, above the list, and the list
    // and the button inside the dialog.
    static bool TextFits(HWND dialog)
    {
        const HWND label = ::GetDlgItem(dialog, IDC_CONFIRMATION_TEXT);
        RECT box, need = {}, list, button, client;
        ::GetClientRect(label, &box);
        char text[2048] = {};
        ::GetWindowTextA(label, text, sizeof text);
        need.right = box.right;
        const HDC dc = ::GetDC(label);
        const HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(label, WM_GETFONT, 0, 0));
        ::DrawTextA(dc, text, -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::ReleaseDC(label, dc);
        ::GetWindowRect(label, &box);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_CONFIRMATION_LIST), &list);
        ::GetWindowRect(::GetDlgItem(dialog, IDCANCEL), &button);
        ::GetClientRect(dialog, &client);
        ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return need.bottom <= box.bottom - box.top && box.bottom <= list.top && list.bottom <= button.top &&
               button.bottom <= client.bottom;
    }
    // Types the password into the import password dialog and presses OK.
    static void TypePassword(zvtest::ScriptedModal& modal, const char* password)
    {
        modal.OnModal([password](CWnd& wnd) {
            ::SetDlgItemTextA(wnd.m_hWnd, IDC_IMPORT_PASSWORD, password);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        });
    }
    static void ChooseScope(zvtest::ScriptedModal& modal, int radio)
    {
        modal.OnModal([radio](CWnd& wnd) {
            ::CheckRadioButton(wnd.m_hWnd, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, radio);
            zvtest::ScriptedModal::PressButton(wnd, radio);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        });
    }
    static void SetExportPassword(zvtest::ScriptedModal& modal, const char* password)
    {
        modal.OnModal([password](CWnd& wnd) {
            ::SetDlgItemTextA(wnd.m_hWnd, 1042, password);
            ::SetDlgItemTextA(wnd.m_hWnd, 1043, password);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        });
    }

    // Exports the records of the current view as text through the menu;
    // the field-1 texts of the fixture's records in the order written.
    std::vector<std::string> ExportShown(const std::string& name)
    {
        const std::string path = ScratchPath(name);
        zvtest::ScriptedModal modal;
        ChooseScope(modal, IDC_EXPORT_SHOWN);
        modal.AnswerFileName(path.c_str());
        modal.AnswerMessageBox(IDOK);
        modal.AnswerMessageBox(IDNO);
        ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_CSV, 0);
        EXPECT_TRUE(modal.Unanswered().empty());
        const std::string text = zvtest::ReadFileBytes(m_root.Path() / name);
        std::vector<std::pair<size_t, std::string>> found;
        for (const char* field : {"Alice Smith", "Bob", "Loose note"})
            if (const size_t at = text.find(field); at != std::string::npos) found.emplace_back(at, field);
        std::sort(found.begin(), found.end());
        std::vector<std::string> names;
        for (const auto& f : found) names.push_back(f.second);
        return names;
    }
    void TypeSearch(const char* text)
    {
        CEditWithButton& box = m_frame->GetDialogToolbar().m_edSearch;
        box.SetSel(0, -1);
        box.ReplaceSel(text);
    }

    CExchangeService m_service;
    IExchangeService* m_previousService = nullptr;
    BeforeReplaceHook m_previousHook = nullptr;
    std::string m_confirmationTitle, m_confirmationText, m_noCaption;
    int m_confirmationRows = -1;
    bool m_yesVisible = true;
    bool m_textFits = false;
};

// A version 3.0 file of three records whose second stops inside its labels,
// then a line without values.
const char kCutFile[] = "Zorvikan Zkv File -v3.0\r\nF\r\nT,3,Kind,a,b,0\r\n"
                        "F,24,one,,,,,,,,,,0,,,,,,,,,,,Cat,notes\r\n"
                        "F,24,two,,,,,,,,,,0,l1,l2\r\n"
                        "F,24,three,,,,,,,,,,0,,,,,,,,,,,Cat,notes\r\n"
                        "F,24\r\n";
const char kCutFileLeftOut[] = "cut.zkv:\r\n"
                               "1 line(s) were damaged or cut short and were not imported: line(s) 5.\r\n"
                               "1 line(s) without values were skipped: line(s) 7.";

TEST_F(ViewExchange, ImportFromTheMenuEndsWithTheRecordsInTheDatabaseSavedOnce)
{
    Open();
    const std::string path = Copy("v3_plain.zkv", "cards.zkv");
    zvtest::ScriptedModal modal;
    modal.AnswerFileName(path.c_str());
    ExpectConfirmation(modal);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_IMPORT_ZKV, 0);

    EXPECT_EQ(std::vector<std::string>{"Import File"}, modal.FileDialogTitles());
    EXPECT_EQ(std::vector<bool>{true}, modal.FileDialogsOpen());
    EXPECT_EQ(3, LiveRecords());
    EXPECT_NE(nullptr, m_view->GetDatabase().GetTypes().FindByName("Bank Card"));
    EXPECT_EQ(1, g_databaseSaves);
    EXPECT_EQ(3, SavedRecords());
    EXPECT_EQ("Import Confirmation", m_confirmationTitle);
    EXPECT_EQ("3 item(s) were imported.", m_confirmationText);
    EXPECT_EQ(3, m_confirmationRows);
    EXPECT_FALSE(m_yesVisible);
    EXPECT_EQ("OK", m_noCaption);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, TheConfirmationNamesTheLinesAnImportLeftOut)
{
    Open();
    const std::string path = zvtest::WinPath(m_root.WriteFile("cut.zkv", kCutFile)).Std();
    zvtest::ScriptedModal modal;
    modal.AnswerFileName(path.c_str());
    ExpectConfirmation(modal);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_IMPORT_ZKV, 0);
    EXPECT_EQ(2, LiveRecords());
    EXPECT_EQ(std::string("2 item(s) were imported.\r\n") + kCutFileLeftOut, m_confirmationText);
    EXPECT_TRUE(m_textFits);
    EXPECT_EQ(2, m_confirmationRows);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, DroppedAndCommandLineFilesTellTheLinesTheyLeftOut)
{
    Open();
    const std::string cut = zvtest::WinPath(m_root.WriteFile("cut.zkv", kCutFile)).Std();
    const std::string shortFile = zvtest::WinPath(m_root.WriteFile("short.csv", "x\r\ny\r\n")).Std();
    zvtest::ScriptedModal modal;
    // The command line shows no confirmation, but what was left out.
    modal.AnswerMessageBox(IDOK);
    m_view->ImportFileAsk(cut.c_str(), FALSE);
    // A drop whose files import nothing still tells what was left out.
    modal.AnswerMessageBox(IDOK);
    ::SendMessageA(m_view->m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({shortFile}), 0);
    // A drop with records shows them with the lines left out.
    ExpectConfirmation(modal);
    ::SendMessageA(m_view->m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({cut, shortFile}), 0);

    EXPECT_EQ(4, LiveRecords());
    EXPECT_EQ((std::vector<std::string>{
                  std::string("2 item(s) were imported.\r\n") + kCutFileLeftOut,
                  "0 item(s) were imported.\r\nshort.csv:\r\n2 line(s) without values were skipped: line(s) 1, 2."}),
              modal.MessageTexts());
    EXPECT_EQ(std::string("2 item(s) were imported.\r\n") + kCutFileLeftOut +
                  "\r\nshort.csv:\r\n2 line(s) without values were skipped: line(s) 1, 2.",
              m_confirmationText);
    EXPECT_TRUE(m_textFits);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, AFirstRecordThatLooksLikeTitlesIsImportedAndTheOwnTitleRowIsTold)
{
    Open();
    const std::string notes =
        zvtest::WinPath(m_root.WriteFile("notes.csv", "Notes,Note,my secret note text,,,,,,,,,,Personal\r\n"
                                                      "Notes,Another,second note,,,,,,,,,,Personal\r\n"))
            .Std();
    const std::string titled =
        zvtest::WinPath(m_root.WriteFile("titled.csv",
                                         "Type,Field 1,Field 2,Field 3,Field 4,Field 5,Field 6,Field 7,Field 8,"
                                         "Field 9,Date Mod,Notes,Category\r\nCard,1234,,,,,,,,,,n,Personal\r\n"))
            .Std();
    zvtest::ScriptedModal modal;
    m_view->ImportFileAsk(notes.c_str(), FALSE);
    EXPECT_EQ(2, LiveRecords());
    EXPECT_NE(nullptr, m_view->GetDatabase().GetTypes().FindByName("Notes"));
    EXPECT_TRUE(modal.MessageBoxes().empty());
    modal.AnswerMessageBox(IDOK);
    m_view->ImportFileAsk(titled.c_str(), FALSE);
    EXPECT_EQ(3, LiveRecords());
    EXPECT_EQ((std::vector<std::string>{"1 item(s) were imported.\r\ntitled.csv:\r\n"
                                        "Line 1 held the column titles and was not imported."}),
              modal.MessageTexts());
    EXPECT_EQ(nullptr, m_view->GetDatabase().GetTypes().FindByName("Type"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, ImportCancelledInTheFileDialogChangesNothing)
{
    Open();
    zvtest::ScriptedModal modal;
    modal.AnswerFileName(nullptr);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_IMPORT_CSV, 0);
    EXPECT_EQ(0, LiveRecords());
    EXPECT_EQ(0, g_databaseSaves);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, DroppedCsvTxtAndZkvFilesAreAllImported)
{
    Open();
    EXPECT_TRUE(::GetWindowLongA(m_view->m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::string csv = Copy("export_text.csv", "a.CSV");
    const std::string txt = Copy("export_text.csv", "b.Txt");
    const std::string zkv = Copy("v3_plain.zkv", "c.zkv");
    zvtest::ScriptedModal modal;
    ExpectConfirmation(modal);
    ::SendMessageA(m_view->m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({csv, txt, zkv}), 0);
    EXPECT_EQ(9, LiveRecords());
    EXPECT_EQ(3, g_databaseSaves);
    EXPECT_EQ(9, SavedRecords());
    EXPECT_EQ("9 item(s) were imported.", m_confirmationText);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, ADroppedDocIsRefusedOnceAndNothingIsImported)
{
    Open();
    const std::string doc = zvtest::WinPath(m_root.WriteFile("report.doc", "Bank Card,x,y\r\n")).Std();
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    ::SendMessageA(m_view->m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({doc}), 0);
    EXPECT_EQ((std::vector<std::string>{"Zorvikan doesn't recognize that file type."}), modal.MessageTexts());
    EXPECT_EQ(0, LiveRecords());
    EXPECT_EQ(0, g_databaseSaves);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, TheConfirmationAfterADropFollowsTheLastImportOnly)
{
    Open();
    const std::string zkv = Copy("v3_plain.zkv", "c.zkv");
    const std::string missing = ScratchPath("missing.csv");
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    ::SendMessageA(m_view->m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({zkv, missing}), 0);
    EXPECT_EQ(3, LiveRecords());
    EXPECT_EQ((std::vector<std::string>{"There was an error reading the import file."}), modal.MessageTexts());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, ACommandLineFileIsImportedAfterYesWithoutConfirmation)
{
    Open();
    const std::string path = Copy("export_text.csv", "from line.csv");
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDNO);
    modal.AnswerMessageBox(IDYES);
    m_view->ImportFileAsk(path.c_str(), TRUE);
    EXPECT_EQ(0, LiveRecords());
    m_view->ImportFileAsk(path.c_str(), TRUE);
    EXPECT_EQ(3, LiveRecords());
    EXPECT_EQ((std::vector<std::string>{"Do you want to import the file from line.csv?",
                                        "Do you want to import the file from line.csv?"}),
              modal.MessageTexts());
    EXPECT_EQ(1, g_databaseSaves);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, AProtectedFileAsksForItsPasswordUntilItFits)
{
    Open();
    const std::string path = Copy("v3_password.zkv", "locked.zkv");
    zvtest::ScriptedModal modal;
    TypePassword(modal, "wrong");
    modal.AnswerMessageBox(IDOK);
    TypePassword(modal, "fixture pw");
    m_view->ImportFileAsk(path.c_str(), FALSE);
    EXPECT_EQ((std::vector<std::string>{"That is not the correct password for this import file."}),
              modal.MessageTexts());
    EXPECT_EQ(3, LiveRecords());
    EXPECT_EQ(1, g_databaseSaves);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, AProtectedFileWhosePasswordIsCancelledImportsNothing)
{
    Open();
    const std::string path = Copy("v3_password.zkv", "locked.zkv");
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDCANCEL); });
    std::vector<CRecord*> imported;
    CString leftOut;
    EXPECT_TRUE(m_view->ImportFile(13, path.c_str(), imported, leftOut, false));
    EXPECT_TRUE(imported.empty());
    EXPECT_EQ(0, LiveRecords());
    EXPECT_EQ(0, g_databaseSaves);
}

TEST_F(ViewExchange, ExportedTextAndProtectedZkvFilesReadBack)
{
    Open();
    m_view->ImportFileAsk(Copy("v3_plain.zkv", "cards.zkv").c_str(), FALSE);
    ASSERT_EQ(3, LiveRecords());

    const std::string csv = ScratchPath("out.csv");
    const std::string zkv = ScratchPath("out.zkv");
    zvtest::ScriptedModal modal;
    ChooseScope(modal, IDC_EXPORT_ALL);
    modal.AnswerFileName(csv.c_str());
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDNO);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_CSV, 0);
    ChooseScope(modal, IDC_EXPORT_ALL);
    modal.AnswerFileName(zkv.c_str());
    SetExportPassword(modal, "pw12");
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDNO);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_ZKV4, 0);
    EXPECT_EQ((std::vector<std::string>{
                  "The file export process was completed successfully.", "Do you also want to email this File?",
                  "The file export process was completed successfully.", "Do you also want to email this File?"}),
              modal.MessageTexts());
    EXPECT_EQ((std::vector<std::string>{"Export File", "Export File"}), modal.FileDialogTitles());
    EXPECT_EQ((std::vector<bool>{false, false}), modal.FileDialogsOpen());
    EXPECT_EQ(0u, zvtest::ReadFileBytes(m_root.Path() / "out.csv").find("Zorvikan Export File"));
    EXPECT_EQ(0u, zvtest::ReadFileBytes(m_root.Path() / "out.zkv").find("Zorvikan Zkv File -v3.0\r\nT"));

    m_view->ImportFileAsk(csv.c_str(), FALSE);
    EXPECT_EQ(6, LiveRecords());
    TypePassword(modal, "pw12");
    m_view->ImportFileAsk(zkv.c_str(), FALSE);
    EXPECT_EQ(9, LiveRecords());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, AFolderExportWithoutAttachmentsInScopeBecomesAFileExportAfterTheTip)
{
    Open();
    m_view->ImportFileAsk(Copy("v3_plain.zkv", "cards.zkv").c_str(), FALSE);
    const std::string target = ScratchPath("plain.zkv");
    zvtest::ScriptedModal modal;
    std::string tipTitle;
    modal.OnModal([&tipTitle](CWnd& wnd) {
        tipTitle = WindowText(wnd.m_hWnd);
        zvtest::ScriptedModal::PressButton(wnd, IDC_TIP_BUTTON);
    });
    ChooseScope(modal, IDC_EXPORT_SELECTED);
    modal.AnswerFileName(target.c_str());
    SetExportPassword(modal, "");
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDNO);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_ZKV, 0);
    EXPECT_EQ("Zorvikan Export tip", tipTitle);
    EXPECT_TRUE(modal.FolderTitles().empty());
    EXPECT_EQ(std::vector<bool>{false}, modal.FileDialogsOpen());
    EXPECT_EQ(0u, zvtest::ReadFileBytes(m_root.Path() / "plain.zkv").find("Zorvikan Zkv File -v3.0\r\nF"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewExchange, CancellingTheExportScopeWritesNothing)
{
    Open();
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDCANCEL); });
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_CSV, 0);
    EXPECT_TRUE(modal.FileDialogTitles().empty());
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ViewExchange, AFolderExportNameStaysInsideTheChosenFolder)
{
    Open();
    m_view->ImportFileAsk(Copy("v3_plain.zkv", "cards.zkv").c_str(), FALSE);
    CRecord* record = static_cast<CRecord*>(m_view->GetDatabase().GetRecords().GetHead());
    record->SetAttachmentName("scan.png");
    record->SetAttachmentKey("0011223344556677");
    m_root.WriteFile("victim.zkv/keep.txt", "kept");
    std::filesystem::create_directories(m_root.Path() / "out");
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDC_TIP_BUTTON); });
    ChooseScope(modal, IDC_EXPORT_ALL);
    modal.AnswerFolder(ScratchPath("out").c_str());
    modal.OnModal([](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_FILE_NAME, "..\\victim");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerMessageBox(IDYES);  // were the existing folder offered for replacing
    SetExportPassword(modal, "");
    modal.AnswerMessageBox(IDOK);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_ZKV, 0);
    EXPECT_EQ("kept", zvtest::ReadFileBytes(m_root.Path() / "victim.zkv" / "keep.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(m_root.Path() / "out" / ".._victim.zkv"));
    EXPECT_EQ((std::vector<std::string>{"The file export process was completed successfully.",
                                        "Do you also want to email this File?"}),
              modal.MessageTexts());
}

TEST_F(ViewExchange, ExportingTheCurrentViewWritesWhatEachModeShowsInItsOrder)
{
    Open();
    m_view->ImportFileAsk(Copy("v3_plain.zkv", "cards.zkv").c_str(), FALSE);
    ASSERT_EQ(3, LiveRecords());
    using Names = std::vector<std::string>;

    // The list: the search box's result, then the rows as sorted.
    TypeSearch("Loose");
    EXPECT_EQ(Names{"Loose note"}, ExportShown("search.csv"));
    TypeSearch("");
    HDITEMA hd{};
    NMHEADERA nm{};
    nm.hdr.hwndFrom = m_view->GetRecordList().GetHeaderCtrl()->m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(nm.hdr.hwndFrom);
    nm.hdr.code = HDN_ITEMCLICKA;
    nm.iItem = 3;  // field 1, sorted ascending: now descending
    nm.pitem = &hd;
    ::SendMessageA(m_view->m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    EXPECT_EQ((Names{"Loose note", "Bob", "Alice Smith"}), ExportShown("sorted.csv"));

    // The tree: type node by type node, under the search.
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_TREE, 0);
    TypeSearch("Bo");
    EXPECT_EQ((Names{"Bob"}), ExportShown("tree.csv"));
    TypeSearch("");
    EXPECT_EQ((Names{"Alice Smith", "Bob", "Loose note"}), ExportShown("tree-all.csv"));
    // The panel: every type row's records, whichever row is chosen.
    ::SendMessageA(m_view->m_hWnd, WM_COMMAND, ID_VIEW_PANEL, 0);
    TypeSearch("Smith");
    EXPECT_EQ((Names{"Alice Smith"}), ExportShown("panel.csv"));
    TypeSearch("");
    EXPECT_EQ((Names{"Alice Smith", "Bob", "Loose note"}), ExportShown("panel-all.csv"));
}

}  // namespace
