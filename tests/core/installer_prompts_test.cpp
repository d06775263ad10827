#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/prefs/AppPrefMgr.h"
#include "core/winui/InstallerPrompts.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace fs = std::filesystem;

namespace {

const char kBonjourQuestion[] = "Bonjour service is not installed to the system, would like to install it now?";
const char kWebUpdateQuestion[] =
    "Webupdate software not installed to update the application, Would you like to install it now?";

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

fs::path PeerPath() { return zvtest::SiblingExe("installer_peer.exe"); }

// A copy of the stand-in installer under the given name.
fs::path Installer(const zvtest::ScratchDir& dir, const std::string& name)
{
    fs::path target = dir.Path() / name;
    fs::copy_file(PeerPath(), target, fs::copy_options::overwrite_existing);
    return target;
}

bool Ran(const fs::path& installer) { return fs::exists(installer.string() + ".ran"); }

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

class Installers : public testing::Test {
protected:
    zvtest::ScratchDir m_dir{"installers"};
    zvtest::ScriptedModal m_modal;
};

TEST_F(Installers, RunsByExtensionInAnyCaseAndWaitsForTheEnd)
{
    struct Case {
        const char* name;
        bool runs;
    } cases[] = {
        {"setup.exe", true},  {"SETUP2.EXE", true},  // capitals run too
        {"setup3.Exe", true}, {"setup.exe.txt", false}, {"noextension", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path installer = Installer(m_dir, c.name);
        EXPECT_EQ(RunInstallerAndWait(Str(installer)), c.runs);
        // When the call returns the installer has ended.
        EXPECT_EQ(Ran(installer), c.runs);
    }
    EXPECT_FALSE(RunInstallerAndWait(""));
    EXPECT_FALSE(RunInstallerAndWait(Str(m_dir.Path() / "missing.exe")));
}

TEST_F(Installers, ShellOpenWaitsAndRefusesOverlongPaths)
{
    fs::path installer = Installer(m_dir, "viaShell.exe");
    EXPECT_TRUE(ShellOpenAndWait(Str(installer)));
    EXPECT_TRUE(Ran(installer));
    EXPECT_FALSE(ShellOpenAndWait(CString('a', MAX_PATH + 5) + ".msi"));
    EXPECT_FALSE(ShellOpenAndWait(""));
}

TEST_F(Installers, WaitingKeepsHandlingMessages)
{
    fs::path installer = Installer(m_dir, "slow.exe");
    g_ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &CountTick);
    ASSERT_NE(timer, 0u);
    EXPECT_TRUE(RunProcessAndWait(Str(installer)));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(Ran(installer));
    EXPECT_GT(g_ticks, 0) << "the thread's messages were handled while the installer ran";
}

TEST_F(Installers, AnsweringNoStartsNothing)
{
    CAppPrefMgr env(Str(m_dir.Path()));
    fs::path installer = Installer(m_dir, "never.exe");
    m_modal.AnswerMessageBox(IDNO);
    m_modal.AnswerMessageBox(IDNO);
    EXPECT_EQ(env.OfferBonjourInstall(nullptr, Str(installer)), 0);
    EXPECT_EQ(env.OfferWebUpdateInstall(nullptr, Str(installer)), 0);
    EXPECT_FALSE(Ran(installer));
    ASSERT_EQ(m_modal.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_modal.MessageBoxes()[0].text, kBonjourQuestion);
    EXPECT_EQ(m_modal.MessageBoxes()[0].type, UINT(MB_YESNO | MB_ICONSTOP));
    EXPECT_EQ(m_modal.MessageBoxes()[1].text, kWebUpdateQuestion);
    EXPECT_TRUE(m_modal.FileDialogTitles().empty());
}

TEST_F(Installers, YesRunsTheGivenInstaller)
{
    CAppPrefMgr env(Str(m_dir.Path()));
    fs::path installer = Installer(m_dir, "wuwinstaller.exe");
    m_modal.AnswerMessageBox(IDYES);
    EXPECT_EQ(env.OfferWebUpdateInstall(nullptr, Str(installer)), 1);
    EXPECT_TRUE(Ran(installer));
    // A file that is no installer is not run.
    fs::path text = m_dir.WriteFile("readme.txt", "text");
    m_modal.AnswerMessageBox(IDYES);
    EXPECT_EQ(env.OfferBonjourInstall(nullptr, Str(text)), 0);
}

TEST_F(Installers, ChoosingTheFileUsesAnOpenDialog)
{
    CAppPrefMgr env(Str(m_dir.Path()));
    fs::path installer = Installer(m_dir, "chosen.exe");
    m_modal.AnswerMessageBox(IDYES);
    m_modal.AnswerFileName(Str(installer));
    EXPECT_EQ(env.OfferWebUpdateInstall(nullptr, ""), 1);
    EXPECT_TRUE(Ran(installer));
    ASSERT_EQ(m_modal.FileDialogTitles().size(), 1u);
    EXPECT_EQ(m_modal.FileDialogTitles()[0], "Please select the webupdate installer file to install the applcation");
    EXPECT_TRUE(m_modal.FileDialogsOpen()[0]);

    // Cancelling the dialog after Yes: nothing runs, 0.
    m_modal.AnswerMessageBox(IDYES);
    m_modal.AnswerFileName(nullptr);
    EXPECT_EQ(env.OfferBonjourInstall(nullptr, ""), 0);
    ASSERT_EQ(m_modal.FileDialogTitles().size(), 2u);
    EXPECT_EQ(m_modal.FileDialogTitles()[1], "Select the Bonjour installer file");
    EXPECT_TRUE(m_modal.FileDialogsOpen()[1]);
}

TEST_F(Installers, RemovableDiskTakesItsOwnInstallersWithoutADialog)
{
    CAppPrefMgr disk(Str(m_dir.Path()), 1);
    EXPECT_EQ(disk.LocateBonjourInstaller(nullptr), "") << "no Installers folder yet";
    fs::create_directories(m_dir.Path() / "Installers");
    m_dir.WriteFile("Installers/Bonjour.msi", "msi");
    Installer(m_dir, "Installers/wuwinstaller.exe");
    EXPECT_EQ(disk.LocateBonjourInstaller(nullptr), Str(m_dir.Path() / "Installers" / "Bonjour.msi"));
    m_modal.AnswerMessageBox(IDYES);
    EXPECT_EQ(disk.OfferWebUpdateInstall(nullptr, ""), 1);
    EXPECT_TRUE(Ran(m_dir.Path() / "Installers" / "wuwinstaller.exe"));
    EXPECT_TRUE(m_modal.FileDialogTitles().empty());
    EXPECT_TRUE(m_modal.Unanswered().empty());
}

}  // namespace
