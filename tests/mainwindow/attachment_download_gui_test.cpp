// The attachment download: only a plain file name is ever written, an
// existing file is replaced only when the user says so, a cancelled folder
// choice writes nothing, and opened copies go with the temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/res/RecordDialogsRes.h"
#include "core/items/Record.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/AttachmentCrypter.h"
#include "mainwindow/dialogs/AttachmentDownloadDlg.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"

namespace {

namespace fs = std::filesystem;
using zvtest::ScriptedModal;

// Writes down what would go to the shell.
class RecordingDownloadDlg : public CAttachmentDownloadDlg {
public:
    std::vector<std::string> launched;

protected:
    void Launch(LPCSTR verb, const CString& path) override
    {
        launched.push_back(std::string(verb) + " " + std::string(path));
    }
};

class AttachmentDownload : public ::testing::Test {
protected:
    AttachmentDownload()
    {
        fs::create_directories(m_dir / "Files");
        fs::create_directories(m_dir / "out");
        const fs::path source = m_dir.WriteFile("plain.txt", "attached bytes!!");
        m_record.SetId(0x3c);
        m_record.SetAttachmentKey("0123456789abcdefghij");
        m_record.SetAttachmentName("..\\..\\ZorvikanDatabase.zdb");
        CAttachmentCrypter crypter(m_record.GetAttachmentKey(), m_record.GetAttachmentFileName(), Files());
        EXPECT_EQ(0, crypter.EncryptFromFile(zvtest::WinPath(source)));
    }
    CString Files() const { return zvtest::WinPath(m_dir / "Files"); }
    int Run(RecordingDownloadDlg& dlg, int choice)
    {
        dlg.SetRecord(&m_record);
        dlg.SetAttachmentsFolder(Files());
        m_modal.OnModal([choice](CWnd& wnd) {
            ::CheckRadioButton(wnd.m_hWnd, IDC_DOWNLOAD_OPEN, IDC_DOWNLOAD_EXPLORE,
                               choice == 0 ? IDC_DOWNLOAD_OPEN : IDC_DOWNLOAD_EXPLORE);
            ScriptedModal::PressButton(wnd, IDOK);
        });
        return (int)dlg.DoModal();
    }

    zvtest::ScratchDir m_dir{"zvdownload"};
    CRecord m_record;
    ScriptedModal m_modal;
};

TEST_F(AttachmentDownload, ANameWithFolderPartsIsWrittenOnlyIntoTheChosenFolder)
{
    m_modal.AnswerFolder(zvtest::WinPath(m_dir / "out"));
    RecordingDownloadDlg dlg;
    EXPECT_EQ(IDOK, Run(dlg, 1));
    EXPECT_TRUE(fs::exists(m_dir / "out" / "ZorvikanDatabase.zdb"));
    EXPECT_FALSE(fs::exists(m_dir / "ZorvikanDatabase.zdb"));
    EXPECT_EQ(0u, zvtest::ReadFileBytes(m_dir / "out" / "ZorvikanDatabase.zdb").find("attached bytes!!"));
    ASSERT_EQ(1u, dlg.launched.size());
    EXPECT_EQ("explore " + std::string(zvtest::WinPath(m_dir / "out")), dlg.launched[0]);
}

TEST_F(AttachmentDownload, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    m_dir.WriteFile("out/ZorvikanDatabase.zdb", "keep me");
    m_modal.AnswerFolder(zvtest::WinPath(m_dir / "out"));
    m_modal.AnswerMessageBox(IDNO);
    RecordingDownloadDlg refused;
    Run(refused, 1);
    EXPECT_EQ("keep me", zvtest::ReadFileBytes(m_dir / "out" / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(refused.launched.empty());
    ASSERT_EQ(1u, m_modal.MessageBoxes().size());
    EXPECT_NE(std::string::npos, m_modal.MessageBoxes()[0].text.find("\"ZorvikanDatabase.zdb\""));

    m_modal.AnswerFolder(zvtest::WinPath(m_dir / "out"));
    m_modal.AnswerMessageBox(IDYES);
    RecordingDownloadDlg agreed;
    Run(agreed, 1);
    EXPECT_EQ(0u, zvtest::ReadFileBytes(m_dir / "out" / "ZorvikanDatabase.zdb").find("attached bytes!!"));
}

TEST_F(AttachmentDownload, ACancelledFolderChoiceWritesNothing)
{
    m_modal.AnswerFolder(nullptr);
    RecordingDownloadDlg dlg;
    Run(dlg, 1);
    EXPECT_TRUE(dlg.launched.empty());
    EXPECT_TRUE(dlg.GetWrittenPath().IsEmpty());
    EXPECT_TRUE(fs::is_empty(m_dir / "out"));
}

TEST_F(AttachmentDownload, OpenedCopiesGoWithTheTemporaryFolder)
{
    RecordingDownloadDlg dlg;
    Run(dlg, 0);
    const CString written = dlg.GetWrittenPath();
    ASSERT_FALSE(written.IsEmpty());
    EXPECT_EQ(std::string(CAppPrefMgr::GetTempDirectory()) + "\\ZorvikanDatabase.zdb", std::string(written));
    ASSERT_EQ(1u, dlg.launched.size());
    EXPECT_EQ("open " + std::string(written), dlg.launched[0]);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(written));
    CAttachmentDownloadDlg::RemoveTemporaryFolder();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(written));
}

}  // namespace
