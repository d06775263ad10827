// Registering the browser plug-in through the system's registration tool
// (with a stand-in library that records its calls), and finding the browser
// by its file name.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "app/pluginlink/BrowserPlugin.h"
#include "core/os/FileUtils.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"

namespace {

TEST(BrowserPlugin, PathIsTheToolBarLibraryNextToTheProgram)
{
    CString path = GetBrowserPluginPath();
    EXPECT_STREQ(path, GetAppDirectory() + "ZorvikanToolBar.dll");
}

TEST(BrowserPlugin, RegistersAndUnregistersAndReportsTheToolsResult)
{
    zvtest::ScratchDir dir("plugin");
    const std::filesystem::path plugin = dir / "ZorvikanToolBar.dll";
    std::filesystem::copy_file(zvtest::SiblingExe("fake_toolbar_plugin.dll"), plugin);
    const CString path = plugin.string().c_str();

    EXPECT_EQ(RegisterBrowserPluginFile(path, 1, 1), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "registered"));
    EXPECT_EQ(RegisterBrowserPluginFile(path, 1, 0), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "unregistered"));

    // The library refuses: a failure, not "installed".
    std::filesystem::remove(dir / "registered");
    dir.WriteFile("refuse", "");
    EXPECT_EQ(RegisterBrowserPluginFile(path, 1, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "registered"));
    EXPECT_EQ(RegisterBrowserPluginFile(path, 1, 0), 0);

    // No such file: nothing is started.
    EXPECT_EQ(RegisterBrowserPluginFile((dir / "missing.dll").string().c_str(), 1, 1), 0);
    EXPECT_EQ(RegisterBrowserPluginFile("", 1, 1), 0);
}

TEST(BrowserPlugin, FindsTheBrowserWhateverTheCaseOfItsFileName)
{
    EXPECT_EQ(IsInternetExplorerRunning(), 0);
    zvtest::ScratchDir dir("browser");
    const std::filesystem::path exe = dir / "IEXPLORE.EXE";
    std::filesystem::copy_file(zvtest::SiblingExe("plugin_link_peer.exe"), exe);
    {
        zvtest::ChildProcess browser(exe.string(), "sleep");
        ASSERT_TRUE(browser.Started());
        bool found = false;
        for (int i = 0; i < 100 && !found; ++i) {
            found = IsInternetExplorerRunning() == 1;
            if (!found) Sleep(50);
        }
        EXPECT_TRUE(found);
    }  // the browser is ended here
    EXPECT_EQ(IsInternetExplorerRunning(), 0);
}

}  // namespace
