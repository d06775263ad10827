#include <gtest/gtest.h>

#include "sync/server/BonjourServiceRef.h"
#include "tests/support/ScriptedModal.h"

namespace {

TEST(BonjourServiceRef, WithoutTheLibraryTheInstallIsOfferedOnce)
{
    const struct {
        bool retry;
        int installed;
        int offers;
    } cases[] = {{true, 0, 1}, {true, 1, 1}, {false, 1, 0}};
    for (const auto& c : cases) {
        int offers = 0;
        CBonjourServiceRef ref("zv-no-such-dnssd.dll", [&] {
            ++offers;
            return c.installed;
        });
        EXPECT_EQ(ref.Register(c.retry), 0);
        EXPECT_FALSE(ref.IsRegistered());
        EXPECT_EQ(offers, c.offers) << c.retry << c.installed;
    }
}

TEST(BonjourServiceRef, RegistersThroughTheLibrary)
{
    // The stand-in's announcement goes to a loopback port nobody reads.
    _putenv("ZV_MDNS_TARGET=127.0.0.1:9");
    zvtest::ScriptedModal modal;
    int offers = 0;
    {
        CBonjourServiceRef ref("dnssd.dll", [&] { return ++offers; });
        EXPECT_EQ(ref.Register(true), 1);
        EXPECT_TRUE(ref.IsRegistered());
    }
    EXPECT_EQ(offers, 0);
    EXPECT_TRUE(modal.MessageBoxes().empty());
    EXPECT_FALSE(GetUserDisplayName().IsEmpty());
    _putenv("ZV_MDNS_TARGET=");
}

TEST(BonjourServiceRef, AFailedRegistrationIsTold)
{
    const struct {
        DNSServiceErrorType error;
        const char* text;
    } cases[] = {{kDNSServiceErr_NameConflict, "Name is already in use, please choose another"},
                 {-65540, "Failed to register Service"},
                 {0, nullptr}};
    for (const auto& c : cases) {
        zvtest::ScriptedModal modal;
        OnBonjourRegisterReply(nullptr, 0, c.error, "name", "_zvsync._tcp", "local.", nullptr);
        if (!c.text) {
            EXPECT_TRUE(modal.MessageBoxes().empty());
            continue;
        }
        ASSERT_EQ(modal.MessageBoxes().size(), 1u);
        EXPECT_EQ(modal.MessageBoxes()[0].text, c.text);
        EXPECT_EQ(modal.MessageBoxes()[0].caption, "Registration Error");
    }
}

}  // namespace
