// A computer without a Simple MAPI mail program: this test runs with no
// "MAPI32.DLL" to load at all (Wine's own switched off, see tests/exchange/
// CMakeLists.txt), so the real loader fails and nothing is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include "exchange/mail/MapiMail.h"

TEST(MapiMailMissing, NoMailProgramGives4099)
{
    ASSERT_EQ(LoadLibraryA("MAPI32.DLL"), nullptr) << "this test needs a computer without Simple MAPI";
    CMapiMail mail(GetDesktopWindow());
    EXPECT_EQ(mail.SendFile("C:\\Temp\\Records.zkv.zip", "Exported File"), 4099u);
    // Bad arguments are still told apart first.
    EXPECT_EQ(mail.SendFile("", "Exported File"), 4097u);
    EXPECT_EQ(CMapiMail(nullptr).SendFile("C:\\x.zip", "Exported File"), 4098u);
}
