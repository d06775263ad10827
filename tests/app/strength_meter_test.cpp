// Rating of typed passwords and generator settings, and the rating's names.
#include <gtest/gtest.h>

#include <string>

#include "app/logon/PasswordStrengthMeter.h"

namespace {

TEST(PasswordStrengthMeterTest, ScoresTypedPasswords)
{
    const struct {
        std::string password;
        int score;
        const char* label;
    } cases[] = {
        {"", 0, ""},
        {"abcd", 22, "Short"},  // lower 10 + 4 x 3
        {"ABCD", 22, "Short"},
        {"1234", 22, "Short"},
        {"a", 13, "Short"},
        {"aB3$efgh", 64, "Good"},  // four classes 40 + 8 x 3
        {"aB3$efghi", 67, "Good"},
        {"aB3$efghijkl", 76, "Strong"},
        {std::string(34, 'x'), 100, "Strong"},  // 10 + 102, capped
        {std::string(250, 'x'), 100, "Strong"},
        {std::string(251, 'x'), 60, "Good"},  // over 250: a flat 50
        {"'", 3, "Short"},                    // the apostrophe is no symbol
        {"''''", 12, "Short"},
        {"aaaaa", 25, "Weak"},
        {"abcdefghijklm", 49, "Weak"},
        {"abcdefghijklmn", 52, "Good"},
        {"\xe9\xe8", 6, "Short"},  // Latin-1 letters are in no class
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPasswordStrengthMeter::ScorePassword(CString(c.password)), c.score) << c.password;
        EXPECT_STREQ(CPasswordStrengthMeter::LabelForScore(c.score), c.label) << c.password;
    }
}

TEST(PasswordStrengthMeterTest, EverySymbolOfTheGeneratorButTheApostropheCounts)
{
    const char symbols[] = "`~!@#$%^&*()-_=+[{]}\\|\";:,<.>/?";
    ASSERT_EQ(sizeof(symbols) - 1, 31u);
    for (const char* p = symbols; *p; ++p) EXPECT_EQ(CPasswordStrengthMeter::ScorePassword(CString(*p)), 13) << *p;
    // Nothing else is a symbol: letters, digits, space, apostrophe, controls, high bytes.
    for (int ch = 1; ch < 256; ++ch) {
        if (std::string(symbols).find((char)ch) != std::string::npos) continue;
        int score = CPasswordStrengthMeter::ScorePassword(CString((char)ch));
        bool classed = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        EXPECT_EQ(score, classed ? 13 : 3) << ch;
    }
}

TEST(PasswordStrengthMeterTest, LabelBands)
{
    const struct {
        int score;
        const char* label;
    } bands[] = {{0, ""},      {1, "Short"}, {24, "Short"},  {25, "Weak"},   {49, "Weak"},
                 {50, "Good"}, {74, "Good"}, {75, "Strong"}, {100, "Strong"}};
    for (const auto& b : bands) EXPECT_STREQ(CPasswordStrengthMeter::LabelForScore(b.score), b.label) << b.score;
}

TEST(PasswordStrengthMeterTest, ScoresGeneratorSettings)
{
    const struct {
        GeneratorSettings settings;
        int score;
    } cases[] = {
        {{21, 1, 1, 1, 1, 1}, 75},  // 25.2 + 50, truncated
        {{9, 1, 0, 0, 0, 0}, 20},   // 10.8 + 10
        {{0, 1, 1, 1, 1, 1}, 0},     {{-4, 1, 1, 1, 1, 1}, 0},
        {{10, 2, 2, 2, 2, 2}, 12},                              // only exactly 1 chooses a class
        {{125, 0, 0, 0, 0, 0}, 100},                            // 150, capped
        {{126, 0, 0, 0, 0, 0}, 50},                             // above 125: a flat 50
        {{126, 1, 1, 0, 0, 0}, 70},  {{8, 0, 0, 0, 0, 1}, 19},  // 9.6 + 10
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPasswordStrengthMeter::ScoreGeneratorSettings(c.settings), c.score) << c.settings.length;
}

TEST(PasswordStrengthMeterTest, UpdatesBarAndLabelTogether)
{
    CPasswordStrengthMeter meter;
    EXPECT_EQ(meter.GetBarWidth(), 0);
    EXPECT_STREQ(meter.GetLabel(), "");

    meter.UpdateFromPassword("abcd");
    EXPECT_EQ(meter.GetBarWidth(), 58);  // 22 x 2.68 = 58.96
    EXPECT_STREQ(meter.GetLabel(), "Short");

    meter.UpdateFromPassword(CString(std::string(40, 'q')));
    EXPECT_EQ(meter.GetBarWidth(), 268);
    EXPECT_STREQ(meter.GetLabel(), "Strong");

    // Generator settings move the bar only.
    meter.SetGeneratorSettings(GeneratorSettings{9, 1, 0, 0, 0, 0});
    EXPECT_EQ(meter.GetBarWidth(), 53);  // 20 x 2.68 = 53.6
    EXPECT_STREQ(meter.GetLabel(), "Strong");

    meter.UpdateFromPassword("");
    EXPECT_EQ(meter.GetBarWidth(), 0);
    EXPECT_STREQ(meter.GetLabel(), "");
}

}  // namespace
