// E-mail of an exported file through Simple MAPI: the stand-in "MAPI32.DLL"
// next to this test (loaded in place of Wine's own, see tests/exchange/
// CMakeLists.txt) records what it was handed and answers as a mail program
// would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "exchange/mail/MapiMail.h"
#include "tests/support/KeyValueFile.h"
#include "tests/support/ScratchDir.h"

namespace {

// An environment variable for one scope (child processes inherit it).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        char buffer[4096];
        DWORD n = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
        m_had = n > 0 && n < sizeof(buffer);
        if (m_had) m_old.assign(buffer, n);
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnv() { SetEnvironmentVariableA(m_name, m_had ? m_old.c_str() : nullptr); }

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

class MapiMailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_record = (m_dir / "handed.txt").string();
        m_env = std::make_unique<ScopedEnv>("ZV_MAPI_RECORD", m_record);
    }

    zvtest::ScratchDir m_dir{"mail"};
    std::string m_record;
    std::unique_ptr<ScopedEnv> m_env;
};

}  // namespace

TEST_F(MapiMailTest, HandsOneFileWithItsSubjectToTheMailProgram)
{
    HWND owner = GetDesktopWindow();
    ASSERT_TRUE(IsWindow(owner));
    CMapiMail mail(owner);
    ScopedEnv answer("ZV_STANDIN", "mapi=0");
    EXPECT_EQ(mail.SendFile("C:\\Temp\\Export\\Records.zkv.zip", "Exported File"), 0u);
    std::map<std::string, std::string> handed = zvtest::ReadKeyValueFile(m_record);
    EXPECT_EQ(handed["session"], "0");
    EXPECT_EQ(handed["owner"], std::to_string(reinterpret_cast<uintptr_t>(owner)));
    EXPECT_EQ(handed["flags"], "9");
    EXPECT_EQ(handed["reserved"], "0");
    EXPECT_EQ(handed["subject"], "Exported File");
    EXPECT_EQ(handed["body"], "(none)");
    EXPECT_EQ(handed["recipients"], "0");
    EXPECT_EQ(handed["files"], "1");
    EXPECT_EQ(handed["position"], "-1");
    EXPECT_EQ(handed["path"], "C:\\Temp\\Export\\Records.zkv.zip");
    EXPECT_EQ(handed["name"], "Records.zkv.zip");
}

TEST_F(MapiMailTest, MailProgramAnswersMapToResults)
{
    struct Case {
        const char* answer;
        unsigned long result;
    } cases[] = {
        {"mapi=0", 0},    // sent
        {"mapi=1", 0},    // cancelled by the user
        {"mapi=3", 0},    // its logon failed
        {"mapi=2", 2},    // any other failure comes back as it is
        {"mapi=11", 11},  // attachment not found
        {"mapi=26", 26},
    };
    CMapiMail mail(GetDesktopWindow());
    for (const Case& c : cases) {
        ScopedEnv answer("ZV_STANDIN", c.answer);
        EXPECT_EQ(mail.SendFile("C:\\x.zip", "Exported File"), c.result) << c.answer;
    }
}

TEST_F(MapiMailTest, BadArgumentsAreRefusedBeforeTheMailProgram)
{
    CMapiMail mail(GetDesktopWindow());
    EXPECT_EQ(mail.SendFile("", "Exported File"), 4097u);
    EXPECT_EQ(mail.SendFile(nullptr, "Exported File"), 4097u);
    EXPECT_EQ(CMapiMail(nullptr).SendFile("C:\\x.zip", "s"), 4098u);
    EXPECT_EQ(CMapiMail(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7fff1234))).SendFile("C:\\x.zip", "s"), 4098u);
    EXPECT_EQ(GetFileAttributesA(m_record.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was handed over";
}

TEST_F(MapiMailTest, LongPathsAreCutToTheWindowsLimit)
{
    std::string path = "C:\\" + std::string(300, 'p') + "\\" + std::string(300, 'n');
    std::string subject(400, 's');
    EXPECT_EQ(CMapiMail(GetDesktopWindow()).SendFile(path.c_str(), subject.c_str()), 0u);
    std::map<std::string, std::string> handed = zvtest::ReadKeyValueFile(m_record);
    EXPECT_EQ(handed["path"], path.substr(0, 259));
    EXPECT_EQ(handed["subject"], subject.substr(0, 259));
    // The file name is what follows the last backslash of the path as handed over.
    EXPECT_EQ(handed["name"], path.substr(3, 256));
}
