// What the in-place cell editors accept.
#include <gtest/gtest.h>

#include "toolkit/editors/InPlaceRules.h"

namespace {

TEST(InPlaceRules, CharactersOutsideTheValidSetAreDroppedButControlsPass)
{
    struct Case {
        const char* valid;
        unsigned ch;
        bool allowed;
    } cases[] = {
        {"", 'x', true},           {"", 22, true},          {"0123456789", '5', true}, {"0123456789", 'x', false},
        {"0123456789", 3, true},   {"0123456789", 8, true}, {"0123456789", 22, true},  {"0123456789", 24, true},
        {"0123456789", 13, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.allowed, InPlaceCharAllowed(c.valid, c.ch)) << c.valid << " " << c.ch;
}

TEST(InPlaceRules, PasteWithNoValidSetIsTaken)
{
    // An empty set allows every character, so it allows every paste too.
    EXPECT_TRUE(InPlacePasteAllowed("", "anything at all"));
    EXPECT_TRUE(InPlacePasteAllowed("", nullptr));
    EXPECT_TRUE(InPlacePasteAllowed("0123456789", "2024"));
    EXPECT_FALSE(InPlacePasteAllowed("0123456789", "20x4"));
    EXPECT_FALSE(InPlacePasteAllowed("0123456789", nullptr));
}

TEST(InPlaceRules, ComboListRoomInCellHeights)
{
    EXPECT_EQ(10, InPlaceComboExtraRows(0));
    EXPECT_EQ(13, InPlaceComboExtraRows(3));
    EXPECT_EQ(19, InPlaceComboExtraRows(9));
    EXPECT_EQ(11, InPlaceComboExtraRows(10));
    EXPECT_EQ(11, InPlaceComboExtraRows(25));
}

}  // namespace
