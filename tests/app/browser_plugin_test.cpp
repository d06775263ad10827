// Registering the browser plug-in through the system's registration tool
// (with a stand-in library that records its calls), and finding the browser
// by its file name.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "app/BrowserPlugin.h"
#include "core/FileUtils.h"
#include "tests/support/ScratchDir.h"

namespace {

std::filesystem::path BinFile(const char* name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::string(path, n)).parent_path() / name;
}

TEST(BrowserPlugin, PathIsTheToolBarLibraryNextToTheProgram) {
    CString path = GetBrowserPluginPath();
    EXPECT_STREQ(path, GetAppDirectory() + "ZorvikanToolBar.dll");
}

TEST(BrowserPlugin, RegistersAndUnregistersAndReportsTheToolsResult) {
    zvtest::ScratchDir dir("plugin");
    const std::filesystem::path plugin = dir / "ZorvikanToolBar.dll";
    std::filesystem::copy_file(BinFile("fake_toolbar_plugin.dll"), plugin);
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

TEST(BrowserPlugin, FindsTheBrowserWhateverTheCaseOfItsFileName) {
    EXPECT_EQ(IsInternetExplorerRunning(), 0);
    zvtest::ScratchDir dir("browser");
    const std::filesystem::path exe = dir / "IEXPLORE.EXE";
    std::filesystem::copy_file(BinFile("plugin_link_peer.exe"), exe);
    std::string command = "\"" + exe.string() + "\" sleep";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        found = IsInternetExplorerRunning() == 1;
        if (!found)
            Sleep(50);
    }
    EXPECT_TRUE(found);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(IsInternetExplorerRunning(), 0);
}

}  // namespace
