// The name tables of login-form filling, the addresses a web login may open
// and their hosts, and the hand-over record as the plug-in writes it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/link/LoginFormNames.h"
#include "core/link/WebAddress.h"
#include "core/link/WebLoginRecord.h"

namespace {

TEST(LoginFormNames, TablesInTheirOrder)
{
    EXPECT_STREQ("txtLogin", USER_NAME_FIELD_NAMES[0]);
    EXPECT_STREQ("name", USER_NAME_FIELD_NAMES[17]);
    EXPECT_STREQ("tmp_account_number", USER_NAME_FIELD_NAMES[49]);
    EXPECT_STREQ("passwd", PASSWORD_FIELD_NAMES[0]);
    EXPECT_STREQ("UserPassword", PASSWORD_FIELD_NAMES[27]);
    EXPECT_STREQ("loginform", LOGIN_FORM_NAMES[0]);
    EXPECT_STREQ("gaia_loginform", LOGIN_FORM_NAMES[3]);
    struct Case {
        const char* name;
        int user, password, form;
    };
    const Case
        cases
            [] =
                {
                    {"username", 2, -1, -1},   {"USERNAME", 2, -1, -1},
                    {"Userid", 3, -1, -1},  // "userid" comes first; the two are one
                    {"Password", -1, 1, -1},   {"pword", -1, 5, -1},
                    {"PWORD", -1, 5, -1},      {"LoginForm", -1, -1, 0},
                    {"f1", -1, -1, 1},         {"login", 12, -1, -1},
                    {"user name", -1, -1, -1},  // whole texts only
                    {"usernam", -1, -1, -1},   {"usernames", -1, -1, -1},
                    {"", -1, -1, -1},          {"\xC4\xD6", -1, -1, -1},
                };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.user, FindLoginName(c.name, USER_NAME_FIELD_NAMES, 50));
        EXPECT_EQ(c.password, FindLoginName(c.name, PASSWORD_FIELD_NAMES, 28));
        EXPECT_EQ(c.form, FindLoginName(c.name, LOGIN_FORM_NAMES, 4));
    }
    EXPECT_EQ(-1, FindLoginName(nullptr, LOGIN_FORM_NAMES, 4));
    EXPECT_TRUE(IsUserNameFieldName("EMAIL"));
    EXPECT_TRUE(IsPasswordFieldName("_ctl0_password"));
    EXPECT_TRUE(IsLoginFormName("LOGIN_FORM"));
    EXPECT_FALSE(IsLoginFormName("login"));
}

TEST(WebAddress, OnlyWebPagesAreOpened)
{
    struct Case {
        const char* stored;
        const char* opened;
    };
    const Case cases[] = {
        {"http://bank.example/login", "http://bank.example/login"},
        {"HTTPS://bank.example", "HTTPS://bank.example"},
        {" https://bank.example/ \r\n", "https://bank.example/"},
        {"www.bank.example", "http://www.bank.example"},
        {"bank.example:8443/x", "http://bank.example:8443/x"},
        {"localhost:80", "http://localhost:80"},
        {"javascript:alert(1)", ""},
        {"jAvAsCrIpT:alert(1)", ""},
        {"vbscript:x", ""},
        {"data:text/html,<script>", ""},
        {"file:///C:/x.htm", ""},
        {"file://server/share", ""},
        {"C:\\x.htm", ""},
        {"c:/x.htm", ""},
        {"\\\\server\\share", ""},
        {"//bank.example", ""},
        {"mailto:a@b.example", ""},
        {"ftp://bank.example", ""},
        {"about:blank", ""},
        {"res://ieframe.dll/x", ""},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(std::string(c.opened), std::string(WebAddressToOpen(c.stored)));
    }
    EXPECT_EQ(std::string(), std::string(WebAddressToOpen(nullptr)));
}

TEST(WebAddress, HostsAndTheirMatch)
{
    struct Case {
        const char* address;
        const char* host;
    };
    const Case cases[] = {
        {"https://Bank.Example/login", "bank.example"},
        {"http://user:pw@bank.example:8080/x?y#z", "bank.example"},
        {"http://bank.example?x=http://evil.example/", "bank.example"},
        {"http://evil.example\\@bank.example/", "evil.example"},
        {"https://[::1]:8443/", "[::1]"},
        {"www.bank.example/login", "www.bank.example"},
        {"bank.example:8443", "bank.example"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(std::string(c.host), std::string(AddressHost(c.address)));
    }
    EXPECT_TRUE(IsSameHost("https://bank.example/login", "http://BANK.example:81/other"));
    EXPECT_FALSE(IsSameHost("https://bank.example/", "https://www.bank.example/"));
    EXPECT_FALSE(IsSameHost("https://bank.example.evil.example/", "https://bank.example/"));
    EXPECT_FALSE(IsSameHost("", ""));
}

TEST(WebLoginRecordWriter, TextsAreCutAndTerminatedInTheirFields)
{
    struct Case {
        std::string title, address;
        size_t titleKept, addressKept;
    };
    const Case cases[] = {
        {"Bank - Sign in", "https://bank.example/", 14, 21},
        {std::string(259, 'T'), std::string(1039, 'a'), 259, 1039},
        {std::string(300, 'T'), std::string(2000, 'a'), 259, 1039},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.size());
        WebLoginRecord record;
        std::memset(&record, 0x5A, sizeof record);
        record.SetTexts(c.title.c_str(), c.address.c_str());
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&record);
        EXPECT_EQ(c.titleKept, std::strlen(record.title));
        EXPECT_EQ(c.addressKept, std::strlen(record.address));
        EXPECT_EQ(0, std::memcmp(record.title, c.title.data(), c.titleKept));
        EXPECT_EQ(0, std::memcmp(record.address, c.address.data(), c.addressKept));
        // Every byte after a text is zero, up to the field's end.
        for (size_t i = c.titleKept; i < 260; ++i) ASSERT_EQ(0, bytes[i]) << i;
        for (size_t i = 260 + c.addressKept; i < 1300; ++i) ASSERT_EQ(0, bytes[i]) << i;
    }
    WebLoginRecord none;
    none.SetTexts(nullptr, nullptr);
    EXPECT_EQ('\0', none.title[0]);
    EXPECT_EQ('\0', none.address[0]);
}

}  // namespace
