// The main view's backup and restore commands and its backup at the end,
// through the program's own backup service, on a scratch data root; every
// dialog is answered by script.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/logon/LogonRes.h"
#include "app/res/ExchangeRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "exchange/backup/ExchangeBackupService.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace fs = std::filesystem;

namespace {

class ViewBackup : public zvtest::AppWindowTest {
protected:
    ViewBackup() : AppWindowTest("zvbackup") {}

    void AddRecord(const char* first)
    {
        CStringArray values;
        values.Add("Kind");
        values.Add(first);
        m_view->GetDatabase().ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
        ASSERT_EQ(0, m_view->GetDatabase().Save());
    }
    std::vector<std::string> FirstFields()
    {
        std::vector<std::string> fields;
        CRecordList& records = m_view->GetDatabase().GetRecords();
        for (POSITION pos = records.GetHeadPosition(); pos;) {
            const CRecord* record = static_cast<const CRecord*>(records.GetNext(pos));
            if (!record->IsDeleted()) fields.push_back(record->GetField(0).Std());
        }
        return fields;
    }
    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }
    // Types the backup's name into the file-name dialog and presses OK.
    static void TypeName(zvtest::ScriptedModal& modal, const char* name)
    {
        modal.OnModal([name](CWnd& dialog) {
            ::SetDlgItemTextA(dialog.m_hWnd, IDC_FILE_NAME, name);
            zvtest::ScriptedModal::PressButton(dialog, IDOK);
        });
    }
    fs::path BackupFolder()
    {
        return fs::path(CAppPrefMgr::GetInstance()->GetUserBackupDirectory(App().GetCurrentUser()).GetString());
    }

    // A backup folder of records with these first fields; the path of the
    // exchange file inside it.
    fs::path BackupOf(const std::vector<const char*>& firsts, const char* name)
    {
        CDatabaseObj db;
        for (const char* first : firsts) {
            CStringArray values;
            values.Add("Kind");
            values.Add(first);
            db.ImportRecord(values, 0, CStringArray(), CString(), 24, nullptr);
        }
        const fs::path folder = m_root / (std::string(name) + ".zkv");
        EXPECT_EQ(0u, m_service.WriteBackup(db, nullptr, zvtest::WinPath(folder), nullptr));
        return folder / folder.filename();
    }

    CExchangeBackupService m_service;
    CScopedBackupService m_installed{&m_service};
};

TEST_F(ViewBackup, BackupWritesAFolderWhereTheUserChose)
{
    OpenWindow();
    AddRecord("kept");
    zvtest::ScriptedModal modal;
    fs::create_directories(m_root / "out");
    modal.OnModal([](CWnd& tip) { zvtest::ScriptedModal::PressButton(tip, IDC_TIP_BUTTON); });
    modal.AnswerFolder((m_root / "out").string().c_str());
    TypeName(modal, "Mine");
    modal.OnModal([](CWnd& dialog) { zvtest::ScriptedModal::PressButton(dialog, IDOK); });  // no password
    modal.AnswerMessageBox(IDOK);
    Command(ID_BACKUP);
    EXPECT_EQ(std::vector<std::string>{"The backup was successful."}, modal.MessageTexts());
    const std::string text = zvtest::ReadFileBytes(m_root / "out" / "Mine.zkv" / "Mine.zkv");
    EXPECT_EQ(0u, text.rfind("Zorvikan Zkv File -v4.0\r\nF\r\n", 0));
    EXPECT_NE(std::string::npos, text.find("kept"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewBackup, BackupStopsAtEachCancel)
{
    OpenWindow();
    AddRecord("kept");
    zvtest::ScriptedModal modal;
    const auto cancel = [](CWnd& dialog) { zvtest::ScriptedModal::PressButton(dialog, IDCANCEL); };
    const auto pass = [](CWnd& tip) { zvtest::ScriptedModal::PressButton(tip, IDC_TIP_BUTTON); };
    modal.OnModal(cancel);  // the tip
    Command(ID_BACKUP);
    modal.OnModal(pass);
    modal.AnswerFolder(nullptr);
    Command(ID_BACKUP);
    modal.OnModal(pass);
    modal.AnswerFolder(m_root.Path().string().c_str());
    modal.OnModal(cancel);  // the name
    Command(ID_BACKUP);
    modal.OnModal(pass);
    modal.AnswerFolder(m_root.Path().string().c_str());
    TypeName(modal, "Mine");
    modal.OnModal(cancel);  // the password
    Command(ID_BACKUP);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_EQ(3u, modal.FolderTitles().size());
    EXPECT_FALSE(fs::exists(m_root / "Mine.zkv"));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewBackup, RestoreReplacesTheRecordsOnlyAfterYes)
{
    OpenWindow();
    AddRecord("before");
    const fs::path two = BackupOf({"first", "second"}, "two");
    zvtest::ScriptedModal modal;
    modal.AnswerFileName(two.string().c_str());
    modal.AnswerMessageBox(IDNO);
    Command(ID_RESTORE_ZKV_FILE);
    EXPECT_EQ(std::vector<std::string>{"before"}, FirstFields());
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ(0u, modal.MessageBoxes()[0].text.find("This operation will destroy the current contents"));
    EXPECT_EQ(std::vector<std::string>{"Restore Database"}, modal.FileDialogTitles());

    modal.AnswerFileName(two.string().c_str());
    modal.AnswerMessageBox(IDYES);
    Command(ID_RESTORE_ZKV_FILE);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), FirstFields());
    EXPECT_EQ(2u, modal.MessageBoxes().size());
    // Saved: the file holds the restored records.
    CDatabaseObj saved;
    ASSERT_EQ(0, saved.Load(m_view->GetDatabase().GetFilePath()));
    EXPECT_EQ(2, saved.GetRecords().GetCount());
}

TEST_F(ViewBackup, ARestoreThatFindsNothingLeavesTheDatabase)
{
    OpenWindow();
    AddRecord("before");
    fs::create_directories(m_root / "Empty.zkv");
    m_root.WriteFile("Empty.zkv/Empty.zkv", "Zorvikan Zkv File -v4.0\r\nF\r\n");
    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& tip) { zvtest::ScriptedModal::PressButton(tip, IDC_TIP_BUTTON); });
    modal.AnswerFolder((m_root / "Empty.zkv").string().c_str());
    modal.AnswerMessageBox(IDYES);
    modal.AnswerMessageBox(IDOK);
    Command(ID_RESTORE_ZKV_FOLDER);
    EXPECT_EQ(std::vector<std::string>{"before"}, FirstFields());
    ASSERT_EQ(2u, modal.MessageBoxes().size());
    EXPECT_EQ("There was an error reading the import file.", modal.MessageBoxes()[1].text);
    EXPECT_EQ(std::vector<std::string>{"Select the folder which conatins the Zkv file and attached files"},
              modal.FolderTitles());
}

TEST_F(ViewBackup, TheViewsEndWritesTheNextAutomaticBackup)
{
    OpenWindow();
    AddRecord("kept");
    CUserItem* user = App().GetCurrentUser();
    CAppPrefMgr::GetInstance()->GetPrefs()->SetBackupFileCounter(user, 4);
    CloseWindow();
    EXPECT_TRUE(fs::exists(BackupFolder() / "Backup-0.zkv" / "Backup-0.zkv"));
    EXPECT_EQ(0, CAppPrefMgr::GetInstance()->GetPrefs()->GetBackupFileCounter(user));
}

}  // namespace
