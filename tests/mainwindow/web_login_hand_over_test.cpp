// Web logins handed over by the browser plug-in before the database is open
// are held, then handed on in order; later ones go through at once.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/data/WebLoginHandOver.h"

TEST(WebLoginHandOver, HeldUntilReadyThenHandedOnInOrder)
{
    CWebLoginHandOver handOver;
    EXPECT_FALSE(handOver.Offer("Bank", "https://bank.example/"));
    EXPECT_FALSE(handOver.Offer("Mail", "https://mail.example/"));
    const std::vector<WebLogin> held = handOver.SetReady();
    ASSERT_EQ(2u, held.size());
    EXPECT_EQ("Bank", std::string(held[0].title));
    EXPECT_EQ("https://mail.example/", std::string(held[1].address));
    EXPECT_TRUE(handOver.Offer("Shop", "https://shop.example/"));
    EXPECT_TRUE(handOver.SetReady().empty());
}
