// Printing from the main view. The list and single records go to the PDF
// queue of the CUPS daemon that scripts/test.sh starts (ZV_PRINT_QUEUE, its
// output folder ZV_PRINT_PDF_DIR) and are read back with pdftotext and
// pdfinfo; without that queue those tests skip. The print commands' update,
// the print-record choice and locking need no printer.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/items/Record.h"
#include "core/items/ShowColumns.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "framework/FrameworkRes.h"
#include "framework/PrintPreview.h"
#include "mainwindow/MainWindowIds.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/EnableProbe.h"
#include "tests/support/ScriptedModal.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

std::string Env(const char* name)
{
    char value[MAX_PATH] = {};
    return ::GetEnvironmentVariableA(name, value, MAX_PATH) ? value : "";
}

// The Unix path as Wine's Z: drive shows it.
std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Runs a command of the host's shell and returns its standard output. Wine
// starts Unix programs natively but neither hands them the pipes of
// CreateProcess nor lets a caller wait for them, so the output goes into a
// file of the given folder under a name that appears only when it is
// complete.
std::string RunHostCommand(const std::string& command, const std::string& unixFolder)
{
    static int runs = 0;
    const std::string name = "host-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++runs);
    const std::string part = unixFolder + "/" + name + ".part";
    const std::string done = unixFolder + "/" + name + ".out";
    std::string line = "Z:\\bin\\sh -c \"" + command + " > '" + part + "' 2>&1; mv '" + part + "' '" + done + "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "<not started: " + command + ">";
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    const std::string result = WindowsPath(done);
    for (int i = 0; i < 300; ++i) {
        std::string out;
        HANDLE file = ::CreateFileA(result.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[4096];
            DWORD n = 0;
            while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n) out.append(buffer, n);
            ::CloseHandle(file);
            ::DeleteFileA(result.c_str());
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "<no output: " + command + ">";
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// The texts a preview page's metafile draws, in order.
std::vector<std::string> PageTexts(HENHMETAFILE page)
{
    std::vector<std::string> texts;
    auto collect = [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
        auto* out = reinterpret_cast<std::vector<std::string>*>(data);
        const auto* bytes = reinterpret_cast<const BYTE*>(record);
        if (record->iType == EMR_EXTTEXTOUTW) {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars = reinterpret_cast<const WCHAR*>(bytes + text->emrtext.offString);
            std::string s;
            for (DWORD i = 0; i < text->emrtext.nChars; ++i) s += (char)chars[i];
            out->push_back(s);
        } else if (record->iType == EMR_EXTTEXTOUTA) {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
            out->push_back(
                std::string(reinterpret_cast<const char*>(bytes + text->emrtext.offString), text->emrtext.nChars));
        }
        return 1;
    };
    if (page) ::EnumEnhMetaFile(nullptr, page, collect, &texts, nullptr);
    return texts;
}

bool Drawn(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts)
        if (text.find(part) != std::string::npos) return true;
    return false;
}

// Why Wine has no default printer to preview on (empty when it has one).
std::string NoDefaultPrinter()
{
    char name[256] = {};
    DWORD size = sizeof name;
    if (::GetDefaultPrinterA(name, &size)) return "";
    return "Wine sees no default printer (scripts/test.sh sets up a CUPS PDF queue when it can)";
}

// The test script's PDF queue, when there is one and Wine prints to it.
class PdfQueue {
public:
    // Empty when usable, else why not.
    std::string Unusable() const
    {
        if (m_queue.empty() || m_folder.empty())
            return "no CUPS PDF queue (ZV_PRINT_QUEUE and ZV_PRINT_PDF_DIR are set by scripts/test.sh when a "
                   "private CUPS daemon can run)";
        char name[256] = {};
        DWORD size = sizeof name;
        if (!::GetDefaultPrinterA(name, &size)) return "Wine sees no default printer for queue " + m_queue;
        if (m_queue != name) return "Wine's default printer is " + std::string(name) + ", not the queue " + m_queue;
        return "";
    }
    void Clear() const
    {
        for (const std::string& file : Files()) ::DeleteFileA(file.c_str());
    }
    // The one PDF of the job, once CUPS has finished writing it.
    std::string WaitForPdf() const
    {
        long long lastSize = -1;
        for (int i = 0; i < 240; ++i) {
            const std::vector<std::string> files = Files();
            if (files.size() == 1) {
                WIN32_FILE_ATTRIBUTE_DATA data{};
                if (::GetFileAttributesExA(files[0].c_str(), GetFileExInfoStandard, &data)) {
                    const long long size = ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
                    if (size > 0 && size == lastSize && Pages(UnixPathOf(files[0])) > 0) return UnixPathOf(files[0]);
                    lastSize = size;
                    m_lastSeen = files[0] + " " + std::to_string(size) + ": " + Info(UnixPathOf(files[0]));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        return "";
    }
    // What the last wait saw, for a failure's message.
    std::string LastSeen() const { return m_lastSeen; }
    // page 0: the whole document.
    std::string Text(const std::string& pdf, int page = 0) const
    {
        std::string range;
        if (page > 0) range = " -f " + std::to_string(page) + " -l " + std::to_string(page);
        return RunHostCommand("pdftotext" + range + " '" + pdf + "' -", m_folder);
    }
    std::string Info(const std::string& pdf) const { return RunHostCommand("pdfinfo '" + pdf + "'", m_folder); }
    int Pages(const std::string& pdf) const
    {
        const std::string info = Info(pdf);
        const size_t at = info.find("Pages:");
        return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
    }

private:
    std::vector<std::string> Files() const
    {
        std::vector<std::string> files;
        WIN32_FIND_DATAA found{};
        const std::string folder = WindowsPath(m_folder);
        HANDLE find = ::FindFirstFileA((folder + "\\*.pdf").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return files;
        do files.push_back(folder + "\\" + found.cFileName);
        while (::FindNextFileA(find, &found));
        ::FindClose(find);
        return files;
    }
    std::string UnixPathOf(const std::string& windowsPath) const
    {
        return m_folder + "/" + windowsPath.substr(windowsPath.rfind('\\') + 1);
    }

    mutable std::string m_lastSeen;
    std::string m_queue = Env("ZV_PRINT_QUEUE");
    std::string m_folder = Env("ZV_PRINT_PDF_DIR");
};

class ViewPrinting : public zvtest::AppWindowTest {
protected:
    ViewPrinting() : AppWindowTest("zvprinting") {}
    void SetUp() override
    {
        AppWindowTest::SetUp();
        zvtest::PumpPendingMessages();
        OpenWindow();
        CRecordListCtrl& list = m_view->GetRecordList();
        if (!list.m_hWnd) {
            ASSERT_TRUE(list.Create(CRect(0, 0, 600, 300), m_view, IDC_RECORD_LIST));
        }
        list.ShowWindow(SW_SHOW);
        m_view->LoadListColumns(true);
    }
    CDatabaseObj& Db() { return m_view->GetDatabase(); }
    // Type "Unfiled", fields 1 and 2, notes one string a line.
    CRecord* AddRecord(const std::string& first, const std::string& second = "",
                       const std::vector<std::string>& notes = {})
    {
        CStringArray values;
        values.Add("Unfiled");
        values.Add(first.c_str());
        values.Add(second.c_str());
        for (int field = 3; field <= 10; ++field) values.Add("");
        for (const std::string& line : notes) values.Add(line.c_str());
        return Db().ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
    }
    void SelectRow(const CRecord* record)
    {
        CRecordListCtrl& list = m_view->GetRecordList();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetRecordAt(row) == record) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // Icon, type and fields 1 and 2 in the list: a third of the page's width
    // for each printed cell, where all 15 columns leave each a narrow strip.
    void ShowList()
    {
        CShowColumns columns = DefaultShowColumns();
        for (int column = 0; column < CShowColumns::kColumns; ++column)
            columns.SetColumnVisible(column, column == 0 || column == 1 || column == 3 || column == 4);
        CAppPrefMgr::GetInstance()->GetPrefs()->SetShowColumns(CZorvikanDesktopApp::GetPrefsSection(),
                                                               theApp.GetCurrentUser(), columns);
        m_view->LoadListColumns(true);
        m_view->FillRecordList();
        zvtest::PumpPendingMessages();
    }
    void Command(UINT id)
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0);
    }
    bool Enabled(UINT id)
    {
        zvtest::EnableProbe probe(true);
        probe.m_nID = id;
        probe.DoUpdate(m_view, FALSE);
        return probe.on;
    }
    // Why the PDF queue cannot take a job (empty when it can, and then it
    // is emptied for the test's job).
    std::string QueueUnusable()
    {
        const std::string why = m_queue.Unusable();
        if (why.empty()) m_queue.Clear();
        return why;
    }
    std::string DisplayName() { return std::string(theApp.GetCurrentUser()->GetDisplayName()); }
    // Presses one of the open preview's buttons.
    void Press(UINT button)
    {
        CPreviewWnd* preview = m_view->GetPrintPreview();
        ASSERT_NE(nullptr, preview);
        ::SendMessageA(::GetDlgItem(preview->m_hWnd, button), BM_CLICK, 0, 0);
    }
    bool ButtonEnabled(UINT button)
    {
        CPreviewWnd* preview = m_view->GetPrintPreview();
        return preview && ::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, button));
    }
    std::vector<std::string> ShownTexts()
    {
        CPreviewWnd* preview = m_view->GetPrintPreview();
        return preview ? PageTexts(preview->GetPageMetafile()) : std::vector<std::string>{};
    }

    PdfQueue m_queue;
};

TEST_F(ViewPrinting, NoPrintGreysThePrintCommandsButNotRecordPrinting)
{
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    const UINT commands[] = {ID_FILE_PAGE_SETUP, ID_FILE_PAGE_SETUP + 1, ID_FILE_PRINT, ID_FILE_PRINT_DIRECT,
                             ID_FILE_PRINT_PREVIEW};
    for (int noPrint : {0, 1}) {
        prefs->SetNoPrint(CZorvikanDesktopApp::GetPrefsSection(), noPrint);
        for (UINT id : commands) EXPECT_EQ(noPrint == 0, Enabled(id)) << id << " NoPrint " << noPrint;
        EXPECT_TRUE(Enabled(ID_PRINT_RECORD)) << "NoPrint " << noPrint;
    }
}

TEST_F(ViewPrinting, ACancelledPrintDialogEndsRecordPrinting)
{
    AddRecord("Only One");
    ShowList();
    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(false);
    Command(ID_PRINT_RECORD);
    EXPECT_EQ(1, modal.PrintDialogsAsked());
    EXPECT_FALSE(m_view->IsPrintingRecord());
    EXPECT_FALSE(m_view->IsPrinting());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewPrinting, AThreePageListGoesToThePdfQueue)
{
    if (const std::string why = QueueUnusable(); !why.empty()) GTEST_SKIP() << "printing test skipped: " << why;
    char name[32];
    for (int i = 1; i <= 190; ++i) {
        std::snprintf(name, sizeof name, "Entry%03d", i);
        AddRecord(name, std::string("login") + std::to_string(i));
    }
    ShowList();
    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(true);
    Command(ID_FILE_PRINT);
    EXPECT_FALSE(m_view->IsPrinting());

    const std::string pdf = m_queue.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived; " << m_queue.LastSeen();
    EXPECT_EQ(3, m_queue.Pages(pdf)) << m_queue.Text(pdf);
    const std::string heading = "Zorvikan Print Report for " + DisplayName();
    EXPECT_EQ(1u, Count(m_queue.Text(pdf, 1), heading));
    const std::string text = m_queue.Text(pdf);
    EXPECT_EQ(1u, Count(text, heading)) << "the heading belongs to page 1 only";
    for (int i = 1; i <= 190; ++i) {
        std::snprintf(name, sizeof name, "Entry%03d", i);
        EXPECT_EQ(1u, Count(text, name)) << name;
    }
    EXPECT_EQ(1u, Count(m_queue.Text(pdf, 1), "Entry001"));
    EXPECT_EQ(1u, Count(m_queue.Text(pdf, 3), "Entry190"));
    // Every page's list starts under the column headings.
    for (int page = 1; page <= 3; ++page) {
        const std::string pageText = m_queue.Text(pdf, page);
        for (const char* title : {"Type", "Field 1", "Field 2"}) EXPECT_EQ(1u, Count(pageText, title)) << page;
    }
    // The list's rows, not a record's labels.
    EXPECT_EQ(0u, Count(text, "Category:"));
}

TEST_F(ViewPrinting, NarrowColumnsKeepTheirWordsWholeOrEndThemWithAnEllipsis)
{
    if (const std::string why = QueueUnusable(); !why.empty()) GTEST_SKIP() << "printing test skipped: " << why;
    // Every column shown, as on a new machine: each printed cell is a
    // narrow strip a long word does not fit.
    CAppPrefMgr::GetInstance()->GetPrefs()->SetShowColumns(CZorvikanDesktopApp::GetPrefsSection(),
                                                           theApp.GetCurrentUser(), DefaultShowColumns());
    m_view->LoadListColumns(true);
    AddRecord("Correspondence", "ab cd");
    m_view->FillRecordList();
    zvtest::PumpPendingMessages();
    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(true);
    Command(ID_FILE_PRINT);

    const std::string pdf = m_queue.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived; " << m_queue.LastSeen();
    const std::string text = m_queue.Text(pdf);
    EXPECT_EQ(1u, Count(text, "Type")) << text;
    // The word's start with an ellipsis, never its rest on lines below.
    EXPECT_EQ(0u, Count(text, "Correspondence")) << text;
    EXPECT_EQ(1u, Count(text, "Corr")) << text;
    const std::string word = "Correspondence";
    size_t from = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; from = end + 1, end = text.find('\n', from)) {
        const std::string line = text.substr(from, end - from);
        const size_t at = line.empty() ? std::string::npos : word.find(line);
        EXPECT_TRUE(at == std::string::npos || at == 0) << "a piece of the word: " << line << "\n" << text;
    }
    EXPECT_NE(std::string::npos, text.find("...")) << text;
}

TEST_F(ViewPrinting, ARecordPrintsItsFieldsAndNotesAfterACancelledTry)
{
    if (const std::string why = QueueUnusable(); !why.empty()) GTEST_SKIP() << "printing test skipped: " << why;
    AddRecord("Other Record", "other-user");
    CRecord* record = AddRecord("Bank Login", "ann.user", {"first note line", "second note line"});
    ShowList();
    SelectRow(record);
    ASSERT_EQ(record, m_view->GetSelectedRecord());

    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(false);
    modal.AnswerPrintDialog(true);
    Command(ID_PRINT_RECORD);  // cancelled
    Command(ID_PRINT_RECORD);
    const std::string pdf = m_queue.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived; " << m_queue.LastSeen();
    EXPECT_EQ(1, m_queue.Pages(pdf));
    const std::string text = m_queue.Text(pdf);
    for (const char* part :
         {"Bank Login", "Category:", "Unfiled", "ann.user", "Note:", "first note line", "second note line"})
        EXPECT_EQ(1u, Count(text, part)) << part << " in:\n" << text;
    EXPECT_EQ(0u, Count(text, "Other Record"));

    // The next File > Print prints the list again.
    m_queue.Clear();
    modal.AnswerPrintDialog(true);
    Command(ID_FILE_PRINT);
    const std::string list = m_queue.WaitForPdf();
    ASSERT_FALSE(list.empty()) << "no PDF arrived; " << m_queue.LastSeen();
    const std::string listText = m_queue.Text(list);
    EXPECT_EQ(1u, Count(listText, "Other Record"));
    EXPECT_EQ(0u, Count(listText, "Category:"));
}

TEST_F(ViewPrinting, LockedPrintsOneBlankPage)
{
    if (const std::string why = QueueUnusable(); !why.empty()) GTEST_SKIP() << "printing test skipped: " << why;
    for (int i = 0; i < 5; ++i) AddRecord("Secret" + std::to_string(i), "hidden" + std::to_string(i));
    ShowList();
    m_view->SetLocked(true);
    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(true);
    Command(ID_FILE_PRINT);
    m_view->SetLocked(false);
    const std::string pdf = m_queue.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived; " << m_queue.LastSeen();
    EXPECT_EQ(1, m_queue.Pages(pdf));
    const std::string text = m_queue.Text(pdf);
    EXPECT_EQ(std::string::npos, text.find_first_not_of(" \t\r\n\f")) << text;
}

TEST_F(ViewPrinting, PreviewPagesThroughTheListAndLearnsTheCountAtTheEnd)
{
    if (const std::string why = NoDefaultPrinter(); !why.empty()) GTEST_SKIP() << "preview test skipped: " << why;
    char name[32];
    for (int i = 1; i <= 190; ++i) {
        std::snprintf(name, sizeof name, "Entry%03d", i);
        AddRecord(name, std::string("login") + std::to_string(i));
    }
    ShowList();
    zvtest::ScriptedModal modal;
    Command(ID_FILE_PRINT_PREVIEW);
    CPreviewWnd* preview = m_view->GetPrintPreview();
    ASSERT_NE(nullptr, preview);
    EXPECT_TRUE(preview->IsWindowVisible());
    EXPECT_TRUE(preview->GetPrintInfo().m_bPreview);
    EXPECT_TRUE(CZorvikanDesktopView::IsPrintPreviewFlagSet());
    EXPECT_EQ(1, m_view->GetPluginLink().GetBusy());
    EXPECT_FALSE(m_frame->GetDialogToolbar().IsWindowEnabled());

    const std::string heading = "Zorvikan Print Report for " + DisplayName();
    struct Step {
        UINT button;  // 0: as opened
        UINT page, maxPage;
        const char* shown;
        bool heading, next, prev;
    };
    const Step steps[] = {
        {0, 1, 0xFFFF, "Entry001", true, true, false},
        {AFX_ID_PREVIEW_NEXT, 2, 0xFFFF, nullptr, false, true, true},
        // The last row drawn makes the count known.
        {AFX_ID_PREVIEW_NEXT, 3, 3, "Entry190", false, false, true},
        {AFX_ID_PREVIEW_NEXT, 3, 3, "Entry190", false, false, true},
        {AFX_ID_PREVIEW_PREV, 2, 3, nullptr, false, true, true},
        {AFX_ID_PREVIEW_PREV, 1, 3, "Entry001", true, true, false},
        {AFX_ID_PREVIEW_PREV, 1, 3, "Entry001", true, true, false},
    };
    for (const Step& step : steps) {
        if (step.button) Press(step.button);
        SCOPED_TRACE("page " + std::to_string(step.page));
        ASSERT_EQ(preview, m_view->GetPrintPreview());
        EXPECT_EQ(step.page, preview->GetCurrentPage());
        EXPECT_EQ(step.maxPage, preview->GetMaxPage());
        const std::vector<std::string> texts = ShownTexts();
        EXPECT_FALSE(texts.empty());
        if (step.shown) {
            EXPECT_TRUE(Drawn(texts, step.shown));
        }
        EXPECT_EQ(step.heading, Drawn(texts, heading));
        EXPECT_EQ(step.next, ButtonEnabled(AFX_ID_PREVIEW_NEXT));
        EXPECT_EQ(step.prev, ButtonEnabled(AFX_ID_PREVIEW_PREV));
    }
    Press(AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(nullptr, m_view->GetPrintPreview());
    EXPECT_FALSE(m_view->IsPrinting());
    // The view drawn again undoes what the preview set.
    m_view->UpdateWindow();
    zvtest::PumpPendingMessages();
    EXPECT_FALSE(CZorvikanDesktopView::IsPrintPreviewFlagSet());
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    EXPECT_TRUE(m_frame->GetDialogToolbar().IsWindowEnabled());
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewPrinting, LockedPreviewShowsOneBlankPage)
{
    if (const std::string why = NoDefaultPrinter(); !why.empty()) GTEST_SKIP() << "preview test skipped: " << why;
    for (int i = 0; i < 5; ++i) AddRecord("Secret" + std::to_string(i), "hidden" + std::to_string(i));
    ShowList();
    m_view->SetLocked(true);
    zvtest::ScriptedModal modal;
    Command(ID_FILE_PRINT_PREVIEW);
    CPreviewWnd* preview = m_view->GetPrintPreview();
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ(1u, preview->GetCurrentPage());
    EXPECT_EQ(1u, preview->GetMaxPage());
    EXPECT_TRUE(ShownTexts().empty());
    EXPECT_FALSE(ButtonEnabled(AFX_ID_PREVIEW_NEXT));
    Press(AFX_ID_PREVIEW_CLOSE);
    m_view->SetLocked(false);
    EXPECT_EQ(nullptr, m_view->GetPrintPreview());
}

TEST_F(ViewPrinting, PrintInThePreviewClosesItAndAsksForThePrinter)
{
    if (const std::string why = NoDefaultPrinter(); !why.empty()) GTEST_SKIP() << "preview test skipped: " << why;
    AddRecord("Only One");
    ShowList();
    zvtest::ScriptedModal modal;
    modal.AnswerPrintDialog(false);
    Command(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(nullptr, m_view->GetPrintPreview());
    EXPECT_EQ(1u, m_view->GetPrintPreview()->GetMaxPage());
    Press(AFX_ID_PREVIEW_PRINT);
    EXPECT_EQ(nullptr, m_view->GetPrintPreview());
    EXPECT_EQ(1, modal.PrintDialogsAsked());
    EXPECT_FALSE(m_view->IsPrinting());
    EXPECT_TRUE(modal.Unanswered().empty());
}

}  // namespace
