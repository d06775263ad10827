// The web-login hand-over record read from hand-built 1300-byte blocks, the
// link's object names, and the registration tool's parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/pluginlink/BrowserPlugin.h"
#include "app/pluginlink/PluginLink.h"
#include "core/link/WebLoginRecord.h"

namespace {

// A block as the plug-in writes it: zeros, the title at 0, the address at 260.
std::vector<unsigned char> Block(const std::string& title, const std::string& address)
{
    std::vector<unsigned char> block(1300, 0);
    std::memcpy(block.data(), title.data(), title.size());
    std::memcpy(block.data() + 260, address.data(), address.size());
    return block;
}

TEST(WebLoginRecord, LayoutIsTitleThenAddressIn1300Bytes)
{
    EXPECT_EQ(sizeof(WebLoginRecord), 1300u);
    EXPECT_EQ(offsetof(WebLoginRecord, title), 0u);
    EXPECT_EQ(offsetof(WebLoginRecord, address), 260u);
}

TEST(WebLoginRecord, ReadsBothTextsOfHandBuiltBlocks)
{
    const std::string title259(259, 'T');
    const std::string address1039(1039, 'a');
    struct Case {
        const char* what;
        std::vector<unsigned char> block;
        std::string title, address;
    } cases[] = {
        {"plain", Block("Bank - Sign in", "https://bank.example/login?x=1"), "Bank - Sign in",
         "https://bank.example/login?x=1"},
        {"empty title", Block("", "https://mail.example/"), "", "https://mail.example/"},
        {"both empty", Block("", ""), "", ""},
        {"longest texts keep their own terminators", Block(title259, address1039), title259, address1039},
    };
    for (const Case& c : cases) {
        WebLoginRecord record;
        ReadWebLoginRecord(c.block.data(), record);
        EXPECT_EQ(std::string(record.title), c.title) << c.what;
        EXPECT_EQ(std::string(record.address), c.address) << c.what;
    }
}

TEST(WebLoginRecord, UnterminatedBlockIsCutAtTheEndOfEachField)
{
    // Any process may write the block: no zero byte anywhere.
    std::vector<unsigned char> block(1300, 'A');
    WebLoginRecord record;
    ReadWebLoginRecord(block.data(), record);
    EXPECT_EQ(std::string(record.title), std::string(259, 'A'));
    EXPECT_EQ(std::string(record.address), std::string(1039, 'A'));
}

TEST(WebLoginRecord, TitleWithoutTerminatorDoesNotRunIntoTheAddress)
{
    std::vector<unsigned char> block = Block(std::string(260, 'T'), "https://x.example/");
    WebLoginRecord record;
    ReadWebLoginRecord(block.data(), record);
    EXPECT_EQ(std::string(record.title), std::string(259, 'T'));
    EXPECT_EQ(std::string(record.address), "https://x.example/");
}

TEST(WebLoginRecord, NoBlockGivesEmptyTexts)
{
    WebLoginRecord record;
    std::memset(&record, 'x', sizeof record);
    ReadWebLoginRecord(nullptr, record);
    EXPECT_EQ(std::string(record.title), "");
    EXPECT_EQ(std::string(record.address), "");
}

TEST(PluginLinkNames, AreTheNamesBothDeliverablesUse)
{
    WebLoginLinkNames names;
    EXPECT_STREQ(names.appRunning, "Corvantide-Zorvikan-AppRunning");
    EXPECT_STREQ(names.sharedMemory, "Corvantide-Zorvikan-WlSharedMemory");
    EXPECT_STREQ(names.eventAdded, "Corvantide-Zorvikan-wl-EventAdded");
    EXPECT_STREQ(names.dbChange, "Corvantide-Zorvikan-wl-DBChange");
    EXPECT_STREQ(names.userChange, "Corvantide-Zorvikan-wl-UserChange");
    EXPECT_STREQ(names.changeCounts, "Corvantide-Zorvikan-wl-ChangeCounts");
    EXPECT_EQ(WM_ADD_WEB_LOGIN, 0x0603);
    EXPECT_EQ(WM_BRING_TO_FRONT, 0x0604);
}

TEST(BrowserPluginRegisterParameters, FlagsThenQuotedPathInOrder)
{
    const CString path = "C:\\Program Files\\Zorvikan\\ZorvikanToolBar.dll";
    struct Case {
        bool silent, install;
        const char* expected;
    } cases[] = {
        {true, false, "/u /s \"C:\\Program Files\\Zorvikan\\ZorvikanToolBar.dll\""},
        {true, true, "/s \"C:\\Program Files\\Zorvikan\\ZorvikanToolBar.dll\""},
        {false, false, "/u \"C:\\Program Files\\Zorvikan\\ZorvikanToolBar.dll\""},
        {false, true, "\"C:\\Program Files\\Zorvikan\\ZorvikanToolBar.dll\""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(BrowserPluginRegisterParameters(path, c.silent, c.install), c.expected) << c.silent << c.install;
}

}  // namespace
