// The main view's tool commands on a scratch data root, every dialog and
// message answered by script. This program runs in a folder of its own
// (tests/mainwindow/CMakeLists.txt) beside the stand-ins of the mail program
// ("MAPI32.DLL", which records what it was handed), of the web-update
// library ("wuw4.dll", which records the address) and of the browser
// plug-in's file; the shell's "open" is recorded instead of run.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/AppIds.h"
#include "app/pluginlink/BrowserPlugin.h"
#include "app/res/ExchangeRes.h"
#include "app/services/BackupService.h"
#include "app/services/ExchangeService.h"
#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "exchange/backup/ExchangeBackupService.h"
#include "exchange/dialogs/ExchangeService.h"
#include "exchange/dialogs/ExportDialogs.h"
#include "exchange/zip/ZipReader.h"
#include "mainwindow/MainWindowIds.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/KeyValueFile.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_shellOpened;

intptr_t RecordShellOpen(const CString& target)
{
    g_shellOpened.push_back(target.Std());
    return 42;
}

// An environment variable for one scope (the stand-ins read it at each call).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnv() { SetEnvironmentVariableA(m_name, nullptr); }

private:
    const char* m_name;
};

std::vector<std::string> ReadLines(const fs::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The entry names of an archive, in their order.
std::vector<std::string> EntriesOf(const fs::path& archive)
{
    std::vector<std::string> names;
    HZIP zip = OpenZipReaderFile(archive.string().c_str(), nullptr);
    if (!zip) return names;
    ZipEntryInfo info = {};
    GetZipReaderItem(zip, -1, &info);
    const int count = info.index;
    for (int i = 0; i < count; ++i)
        if (GetZipReaderItem(zip, i, &info) == 0) names.push_back(info.name);
    CloseZipReader(zip);
    return names;
}

std::string EntryText(const fs::path& archive, const std::string& name)
{
    std::string text;
    HZIP zip = OpenZipReaderFile(archive.string().c_str(), nullptr);
    if (!zip) return text;
    ZipEntryInfo info = {};
    GetZipReaderItem(zip, -1, &info);
    const int count = info.index;
    for (int i = 0; i < count; ++i) {
        if (GetZipReaderItem(zip, i, &info) != 0 || name != info.name) continue;
        text.resize((size_t)info.uncompressedSize);
        if (!text.empty()) UnzipItemToMemory(zip, i, &text[0], (uint32_t)text.size());
    }
    CloseZipReader(zip);
    return text;
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

fs::path ProgramFolder() { return fs::path(GetAppDirectory().GetString()); }

class ViewTools : public zvtest::AppWindowTest {
protected:
    ViewTools() : AppWindowTest("zvtools") {}

    void SetUp() override
    {
        AppWindowTest::SetUp();
        m_previousService = SetExchangeService(&m_service);
        m_previousOpener = SetShellOpener(&RecordShellOpen);
        g_shellOpened.clear();
        m_mailRecord = std::make_unique<ScopedEnv>("ZV_MAPI_RECORD", (m_root.Path() / "handed.txt").string());
        m_mailCopy = std::make_unique<ScopedEnv>("ZV_MAPI_COPY", (m_root.Path() / "sent.bin").string());
        m_updateRecord = std::make_unique<ScopedEnv>("ZV_WEBUPDATE_RECORD", (m_root.Path() / "update.txt").string());
        // Asking for the folder makes it; the commands must remove it again.
        m_temp = fs::path(CAppPrefMgr::GetTempDirectory().GetString());
        fs::remove_all(m_temp);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        SetShellOpener(m_previousOpener);
        SetExchangeService(m_previousService);
        for (const char* marker : {"registered", "unregistered", "refuse"}) fs::remove(ProgramFolder() / marker);
    }

    const fs::path& TempFolder() const { return m_temp; }
    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }

    CRecord* AddRecord(const char* first)
    {
        CStringArray values;
        values.Add("Kind");
        values.Add(first);
        CRecord* record = m_view->GetDatabase().ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
        EXPECT_EQ(0, m_view->GetDatabase().Save());
        return record;
    }
    // Gives the record an attachment whose stored file holds the bytes.
    void Attach(CRecord* record, const char* name, const std::string& bytes)
    {
        record->SetAttachmentName(name);
        record->SetAttachmentKey("0011223344556677");
        const fs::path folder(CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(App().GetCurrentUser()).GetString());
        fs::create_directories(folder);
        std::ofstream(folder / record->GetAttachmentFileName().GetString(), std::ios::binary) << bytes;
    }
    void ReloadView() { m_view->ReloadAndRefresh(App().GetCurrentUser(), false); }

    // Answers the e-mail form: the scope, the name, OK; notes its title and
    // the check box's state.
    void AnswerEmailForm(zvtest::ScriptedModal& modal, int radio, const char* name)
    {
        modal.OnModal([this, radio, name](CWnd& wnd) {
            m_formTitle = WindowText(wnd.m_hWnd);
            ::CheckRadioButton(wnd.m_hWnd, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, radio);
            zvtest::ScriptedModal::PressButton(wnd, radio);
            m_boxEnabled = ::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, IDC_WITH_ATTACHMENTS)) != FALSE;
            m_boxChecked = ::IsDlgButtonChecked(wnd.m_hWnd, IDC_WITH_ATTACHMENTS) == BST_CHECKED;
            ::SetDlgItemTextA(wnd.m_hWnd, IDC_ZKV_NAME, name);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        });
    }
    static void AnswerPassword(zvtest::ScriptedModal& modal, const char* password)
    {
        modal.OnModal([password](CWnd& wnd) {
            ::SetDlgItemTextA(wnd.m_hWnd, 1042, password);
            ::SetDlgItemTextA(wnd.m_hWnd, 1043, password);
            zvtest::ScriptedModal::PressButton(wnd, IDOK);
        });
    }
    std::map<std::string, std::string> Handed() { return zvtest::ReadKeyValueFile(m_root.Path() / "handed.txt"); }
    fs::path Sent() { return m_root.Path() / "sent.bin"; }

    CExchangeService m_service;
    IExchangeService* m_previousService = nullptr;
    ShellOpener m_previousOpener = nullptr;
    std::unique_ptr<ScopedEnv> m_mailRecord, m_mailCopy, m_updateRecord;
    fs::path m_temp;
    std::string m_formTitle;
    bool m_boxEnabled = false, m_boxChecked = false;
};

// ---- E-mail ---------------------------------------------------------------------------

TEST_F(ViewTools, EmailOfRecordsWithoutAttachmentsSendsAVersion3File)
{
    OpenWindow();
    AddRecord("plain one");
    ReloadView();
    zvtest::ScriptedModal modal;
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "Cards");
    AnswerPassword(modal, "");
    Command(ID_EMAIL_ITEMS);
    EXPECT_EQ("Email", m_formTitle);
    EXPECT_FALSE(m_boxEnabled);
    EXPECT_FALSE(m_boxChecked);
    std::map<std::string, std::string> handed = Handed();
    EXPECT_EQ((TempFolder() / "Cards.zkv").string(), handed["path"]);
    EXPECT_EQ("Cards.zkv", handed["name"]);
    EXPECT_EQ("Exported File", handed["subject"]);
    EXPECT_EQ("1", handed["files"]);
    EXPECT_EQ("-1", handed["position"]);
    EXPECT_EQ("9", handed["flags"]);
    EXPECT_EQ(std::to_string(reinterpret_cast<uintptr_t>(m_view->m_hWnd)), handed["owner"]);
    const std::string sent = zvtest::ReadFileBytes(Sent());
    EXPECT_EQ(0u, sent.rfind("Zorvikan Zkv File -v3.0\r\nF\r\n", 0));
    EXPECT_NE(std::string::npos, sent.find("plain one"));
    // The program's temporary folder goes once the file was handed over.
    EXPECT_FALSE(fs::exists(TempFolder()));
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewTools, EmailWithAttachmentsSendsTheFolderZippedWithTheExchangeFileLast)
{
    OpenWindow();
    CRecord* record = AddRecord("with scan");
    Attach(record, "scan.png", "PNGDATA");
    AddRecord("other");
    ReloadView();
    zvtest::ScriptedModal modal;
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "Mine");
    AnswerPassword(modal, "");
    Command(ID_EMAIL_ITEMS);
    EXPECT_TRUE(m_boxEnabled);
    EXPECT_TRUE(m_boxChecked);
    std::map<std::string, std::string> handed = Handed();
    EXPECT_EQ((TempFolder() / "Mine.zkv.zip").string(), handed["path"]);
    EXPECT_EQ("Mine.zkv.zip", handed["name"]);
    const std::string stored = record->GetAttachmentFileName().Std();
    EXPECT_EQ((std::vector<std::string>{"Files/", "Files/" + stored, "Mine.zkv"}), EntriesOf(Sent()));
    EXPECT_EQ("PNGDATA", EntryText(Sent(), "Files/" + stored));
    const std::string text = EntryText(Sent(), "Mine.zkv");
    EXPECT_EQ(0u, text.rfind("Zorvikan Zkv File -v4.0\r\nF\r\n", 0));
    EXPECT_NE(std::string::npos, text.find("with scan"));
    EXPECT_FALSE(fs::exists(TempFolder()));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewTools, EmailStopsAtTheFormOrThePasswordWithNothingWrittenOrSent)
{
    OpenWindow();
    AddRecord("kept");
    ReloadView();
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDCANCEL); });
    Command(ID_EMAIL_ITEMS);
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "Cards");
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDCANCEL); });
    Command(ID_EMAIL_ITEMS);
    EXPECT_FALSE(fs::exists(m_root.Path() / "handed.txt"));
    EXPECT_FALSE(fs::exists(TempFolder() / "Cards.zkv"));
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ViewTools, ARefusingMailProgramIsNotReportedAndTheTemporaryFolderStillGoes)
{
    OpenWindow();
    AddRecord("kept");
    ReloadView();
    ScopedEnv refusing("ZV_STANDIN", "mapi=2");
    zvtest::ScriptedModal modal;
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "Cards");
    AnswerPassword(modal, "");
    Command(ID_EMAIL_ITEMS);
    EXPECT_EQ((TempFolder() / "Cards.zkv").string(), Handed()["path"]);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_FALSE(fs::exists(TempFolder()));
}

TEST_F(ViewTools, AnEmailNameStaysInsideTheTemporaryFolder)
{
    OpenWindow();
    AddRecord("kept");
    ReloadView();
    zvtest::ScriptedModal modal;
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "..\\..\\away");
    AnswerPassword(modal, "");
    Command(ID_EMAIL_ITEMS);
    EXPECT_EQ((TempFolder() / ".._.._away.zkv").string(), Handed()["path"]);
}

TEST_F(ViewTools, AProtectedEmailCarriesTheCheckLineOfItsPassword)
{
    OpenWindow();
    AddRecord("secret one");
    ReloadView();
    zvtest::ScriptedModal modal;
    AnswerEmailForm(modal, IDC_EXPORT_ALL, "Locked");
    AnswerPassword(modal, "pw12");
    Command(ID_EMAIL_ITEMS);
    const std::string sent = zvtest::ReadFileBytes(Sent());
    EXPECT_EQ(0u, sent.rfind("Zorvikan Zkv File -v3.0\r\nT", 0));
    EXPECT_EQ(std::string::npos, sent.find("secret one"));
}

TEST_F(ViewTools, AnExportOffersTheMailAndAFolderExportSendsItsArchiveThenRemovesIt)
{
    OpenWindow();
    CRecord* record = AddRecord("with scan");
    Attach(record, "scan.png", "PNGDATA");
    ReloadView();
    fs::create_directories(m_root.Path() / "out");
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) { zvtest::ScriptedModal::PressButton(wnd, IDC_TIP_BUTTON); });
    modal.OnModal([](CWnd& wnd) {
        ::CheckRadioButton(wnd.m_hWnd, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, IDC_EXPORT_ALL);
        zvtest::ScriptedModal::PressButton(wnd, IDC_EXPORT_ALL);
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerFolder((m_root.Path() / "out").string().c_str());
    modal.OnModal([](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_FILE_NAME, "Sent");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    AnswerPassword(modal, "");
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDYES);
    Command(ID_EXPORT_ZKV_LIST);
    EXPECT_EQ((std::vector<std::string>{"The file export process was completed successfully.",
                                        "Do you also want to email this File?"}),
              modal.MessageTexts());
    const fs::path folder = m_root.Path() / "out" / "Sent.zkv";
    EXPECT_EQ(zvtest::WinPath(folder).Std() + ".zip", Handed()["path"]);
    EXPECT_EQ("Exported File", Handed()["subject"]);
    EXPECT_EQ("Sent.zkv", EntriesOf(Sent()).back());
    // The archive was only for the mail; the folder stays.
    EXPECT_FALSE(fs::exists(folder.string() + ".zip"));
    EXPECT_TRUE(fs::exists(folder / "Sent.zkv"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewTools, AFileExportMailsTheFileItselfOnlyAfterYes)
{
    OpenWindow();
    AddRecord("row");
    ReloadView();
    const std::string csv = zvtest::WinPath(m_root.Path() / "out.csv").Std();
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& wnd) {
        ::CheckRadioButton(wnd.m_hWnd, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, IDC_EXPORT_ALL);
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerFileName(csv.c_str());
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDNO);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_CSV, 0);
    EXPECT_FALSE(fs::exists(m_root.Path() / "handed.txt"));
    modal.OnModal([](CWnd& wnd) {
        ::CheckRadioButton(wnd.m_hWnd, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, IDC_EXPORT_ALL);
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerFileName(csv.c_str());
    modal.AnswerMessageBox(IDOK);
    modal.AnswerMessageBox(IDYES);
    ::SendMessageA(m_hFrame, WM_COMMAND, ID_EXPORT_CSV, 0);
    EXPECT_EQ(csv, Handed()["path"]);
    EXPECT_EQ("out.csv", Handed()["name"]);
    EXPECT_TRUE(fs::exists(m_root.Path() / "out.csv"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewTools, AttachmentsInScopeFollowTheScope)
{
    OpenWindow();
    CRecord* record = AddRecord("with scan");
    Attach(record, "scan.png", "PNGDATA");
    AddRecord("plain");
    ReloadView();
    // Nothing selected: only the scopes of all records and of the view hold it.
    m_view->GetRecordList().SetItemState(-1, 0, LVIS_SELECTED);
    const struct {
        int scope;
        bool has;
    } cases[] = {{-1, false}, {0, true}, {1, true}, {2, false}, {3, false}};
    for (const auto& c : cases) EXPECT_EQ(c.has, m_view->HasAttachmentInScope(c.scope)) << "scope " << c.scope;
    // Deleted records hold nothing.
    record->SetDeleted(true);
    EXPECT_FALSE(m_view->HasAttachmentInScope(0));
}

// ---- Updates, plug-in, guide, removable disk ----------------------------------------------

TEST_F(ViewTools, WithoutTheUpdateLibraryADeclinedInstallOpensTheProductsPage)
{
    // The library stays loaded once loaded: this test runs before the one
    // that loads it.
    ASSERT_EQ(nullptr, ::GetModuleHandleA("wuw4.dll"));
    OpenWindow();
    ScopedEnv missing("ZV_STANDIN", "wuw4load=0");
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDNO);
    Command(ID_CHECK_FOR_UPDATES);
    EXPECT_EQ((std::vector<std::string>{"Webupdate software not installed to update the application, Would you like "
                                        "to install it now?"}),
              modal.MessageTexts());
    ASSERT_EQ(1u, g_shellOpened.size());
    EXPECT_EQ(0u, g_shellOpened[0].rfind("http://", 0));
    EXPECT_FALSE(fs::exists(m_root.Path() / "update.txt"));
    // Asked by the program itself (not interactive), nothing is asked.
    m_view->CheckForUpdates(false);
    EXPECT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ(2u, g_shellOpened.size());
}

TEST_F(ViewTools, TheUpdateCheckHandsTheLibraryBesideTheProgramTheUpdateAddress)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    Command(ID_CHECK_FOR_UPDATES);
    const std::vector<std::string> lines = ReadLines(m_root.Path() / "update.txt");
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].rfind("http://", 0));
    EXPECT_TRUE(g_shellOpened.empty());
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ViewTools, ThePluginCommandsReportFailureOrOfferInternetExplorer)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    std::ofstream(ProgramFolder() / "refuse") << "";
    modal.AnswerMessageBox(IDOK);
    Command(ID_INSTALL_BROWSER_PLUGIN);
    modal.AnswerMessageBox(IDOK);
    Command(ID_UNINSTALL_BROWSER_PLUGIN);
    fs::remove(ProgramFolder() / "refuse");
    const bool running = IsInternetExplorerRunning() != 0;
    modal.AnswerMessageBox(IDNO);
    Command(ID_INSTALL_BROWSER_PLUGIN);
    modal.AnswerMessageBox(IDNO);
    Command(ID_UNINSTALL_BROWSER_PLUGIN);
    const std::vector<std::string> expected = {
        "Internet Explorer plug-in registration failed.", "Internet Explorer plug-in unregistration failed.",
        running ? "Internet Explorer plug-in registration successfull.\nDo you want to restart Internet Explorer?"
                : "Internet Explorer plug-in registration successful.\nDo you want to run Internet Explorer?",
        running ? "Internet Explorer plug-in unregistration successful.\nDo you want to restart Internet Explorer?"
                : "Internet Explorer plug-in unregistration successful.\nDo you want to run  Internet Explorer?"};
    EXPECT_EQ(expected, modal.MessageTexts());
    ASSERT_EQ(4u, modal.MessageBoxes().size());
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), modal.MessageBoxes()[3].type);
    EXPECT_TRUE(fs::exists(ProgramFolder() / "registered"));
    EXPECT_TRUE(fs::exists(ProgramFolder() / "unregistered"));
}

TEST_F(ViewTools, TheUserGuideIsOpenedFromTheProgramsFolder)
{
    OpenWindow();
    Command(ID_HELP_USER_GUIDE);
    ASSERT_EQ(1u, g_shellOpened.size());
    EXPECT_EQ(zvtest::WinPath(ProgramFolder() / "Zorvikan User Guide.pdf").Std(), g_shellOpened[0]);
}

TEST_F(ViewTools, InstallToARemovableDiskAsksForTheTargetOnItsOwnThread)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    modal.AnswerFolder(nullptr);
    Command(ID_INSTALL_REMOVABLE);
    for (int i = 0; i < 100 && modal.PendingAnswers() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(0u, modal.PendingAnswers());
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

// ---- The tips and the backup's name ---------------------------------------------------

TEST_F(ViewTools, EachTipNamesItsKindAndClearsOnlyItsOwnHalfOfItsHint)
{
    OpenWindow();
    CUserItem* user = App().GetCurrentUser();
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    const struct {
        int kind;
        const char* title;
        const char* button;
        unsigned exportImport, backupRestore;
    } cases[] = {
        {0, "Zorvikan Export tip", "Export", 0x10000, 0x10001},
        {1, "Zorvikan Import tip", "Import", 0x00001, 0x10001},
        {2, "Zorvikan Backup tip", "Backup", 0x10001, 0x10000},
        {3, "Zorvikan Restore tip", "Restore", 0x10001, 0x00001},
    };
    for (const auto& c : cases) {
        prefs->SetExportImportHint(user, 0x10001);
        prefs->SetBackupRestoreHint(user, 0x10001);
        zvtest::ScriptedModal modal;
        std::string title, button;
        bool white = false;
        modal.OnModal([&](CWnd& wnd) {
            title = WindowText(wnd.m_hWnd);
            button = WindowText(::GetDlgItem(wnd.m_hWnd, IDC_TIP_BUTTON));
            // The explanatory texts stand on white.
            HDC dc = ::CreateCompatibleDC(nullptr);
            const HWND text = ::GetDlgItem(wnd.m_hWnd, IDC_TIP_TEXT_FIRST);
            white = text && (HBRUSH)::SendMessageA(wnd.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)text) ==
                                (HBRUSH)::GetStockObject(WHITE_BRUSH);
            white = white && ::GetBkColor(dc) == RGB(255, 255, 255);
            ::DeleteDC(dc);
            ::CheckDlgButton(wnd.m_hWnd, IDC_DONT_SHOW_AGAIN, BST_CHECKED);
            zvtest::ScriptedModal::PressButton(wnd, IDC_TIP_BUTTON);
        });
        CExportImportTipDlg tip(nullptr, c.kind, user);
        EXPECT_EQ(IDOK, tip.DoModal()) << c.kind;
        EXPECT_EQ(c.title, title);
        EXPECT_EQ(c.button, button);
        EXPECT_TRUE(white) << c.kind;
        EXPECT_EQ(c.exportImport, (unsigned)prefs->GetExportImportHint(user)) << c.kind;
        EXPECT_EQ(c.backupRestore, (unsigned)prefs->GetBackupRestoreHint(user)) << c.kind;
    }
}

TEST_F(ViewTools, BackupShowsItsTipAndAsksTheNameInTheFileNameDialog)
{
    CExchangeBackupService backups;
    CScopedBackupService installed(&backups);
    OpenWindow();
    AddRecord("kept");
    fs::create_directories(m_root.Path() / "out" / "Mine.zkv");
    std::ofstream(m_root.Path() / "out" / "Mine.zkv" / "stale.txt") << "old";
    zvtest::ScriptedModal modal;
    std::string tipTitle;
    modal.OnModal([&tipTitle](CWnd& wnd) {
        tipTitle = WindowText(wnd.m_hWnd);
        zvtest::ScriptedModal::PressButton(wnd, IDC_TIP_BUTTON);
    });
    modal.AnswerFolder((m_root.Path() / "out").string().c_str());
    modal.OnModal([](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_FILE_NAME, "Mine");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerMessageBox(IDYES);  // replace the existing folder
    AnswerPassword(modal, "");
    modal.AnswerMessageBox(IDOK);
    Command(ID_BACKUP);
    EXPECT_EQ("Zorvikan Backup tip", tipTitle);
    EXPECT_EQ((std::vector<std::string>{"Filename already exists. Do you want to replace it? ",
                                        "The backup was successful."}),
              modal.MessageTexts());
    EXPECT_FALSE(fs::exists(m_root.Path() / "out" / "Mine.zkv" / "stale.txt"));
    EXPECT_NE(std::string::npos, zvtest::ReadFileBytes(m_root.Path() / "out" / "Mine.zkv" / "Mine.zkv").find("kept"));
    EXPECT_TRUE(modal.Unanswered().empty());

    // With the backup's half of the hint cleared, no tip; the restore's tip
    // still comes before its folder prompt.
    CAppPrefMgr::GetInstance()->GetPrefs()->SetBackupRestoreHint(App().GetCurrentUser(), 0x10000);
    modal.AnswerFolder(nullptr);
    Command(ID_BACKUP);
    std::string restoreTip;
    modal.OnModal([&restoreTip](CWnd& wnd) {
        restoreTip = WindowText(wnd.m_hWnd);
        zvtest::ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    Command(ID_RESTORE_ZKV_FOLDER);
    EXPECT_EQ("Zorvikan Restore tip", restoreTip);
    EXPECT_EQ(2u, modal.FolderTitles().size());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewTools, AProtectedBackupIsRestoredWithItsPassword)
{
    CExchangeBackupService backups;
    CScopedBackupService installed(&backups);
    OpenWindow();
    AddRecord("first");
    AddRecord("second");
    CDatabaseObj& db = m_view->GetDatabase();
    const fs::path folder = m_root.Path() / "Locked.zkv";
    const BlowfishKeyPtr key = MakeBlowfishKey(CSecretString("pw12"));
    ASSERT_EQ(0u, backups.WriteBackup(db, App().GetCurrentUser(), zvtest::WinPath(folder), key.get()));
    AddRecord("later");
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& tip) { zvtest::ScriptedModal::PressButton(tip, IDC_TIP_BUTTON); });
    modal.AnswerFolder(folder.string().c_str());
    modal.AnswerMessageBox(IDYES);
    modal.OnModal([](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_IMPORT_PASSWORD, "wrong");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.AnswerMessageBox(IDOK);  // the wrong password's message
    modal.OnModal([](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_IMPORT_PASSWORD, "pw12");
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    Command(ID_RESTORE_ZKV_FOLDER);
    std::vector<std::string> firsts;
    for (POSITION pos = db.GetRecords().GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(db.GetRecords().GetNext(pos));
        if (!record->IsDeleted()) firsts.push_back(record->GetField(0).Std());
    }
    std::sort(firsts.begin(), firsts.end());
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), firsts);
    EXPECT_TRUE(modal.Unanswered().empty());
}

}  // namespace
