// The password generator dialog's boxes: how stored flags show, and how the
// symbol, accented-letter and strength choices move "Pronounceable".
#include <gtest/gtest.h>

#include "core/crypto/PasswordGenerator.h"
#include "mainwindow/editors/GeneratorChoices.h"

namespace {

struct Boxes {
    int lower, upper, digits, symbols, latin1, pron;
    bool pronEnabled;
};

Boxes Of(const CGeneratorChoices& c)
{
    return {c.lowerCase, c.upperCase, c.digits, c.symbols, c.latin1, c.pronounceable, c.pronounceableEnabled};
}

void ExpectBoxes(const Boxes& want, const CGeneratorChoices& c, const char* what)
{
    const Boxes got = Of(c);
    EXPECT_EQ(want.lower, got.lower) << what;
    EXPECT_EQ(want.upper, got.upper) << what;
    EXPECT_EQ(want.digits, got.digits) << what;
    EXPECT_EQ(want.symbols, got.symbols) << what;
    EXPECT_EQ(want.latin1, got.latin1) << what;
    EXPECT_EQ(want.pron, got.pron) << what;
    EXPECT_EQ(want.pronEnabled, got.pronEnabled) << what;
}

TEST(GeneratorChoices, StoredFlagsShowWithPronounceableInLineWithSymbolsAndAccents)
{
    const struct {
        const char* what;
        int flags;
        Boxes want;
    } cases[] = {
        {"default: every flag", CGeneratorChoices::kDefaultFlags, {1, 1, 1, 1, 1, 0, false}},
        {"letters and digits, pronounceable kept", 0x27, {1, 1, 1, 0, 0, 1, true}},
        {"no flag: pronounceable offered", 0, {0, 0, 0, 0, 0, 1, true}},
        {"symbols switch pronounceable off", 0x29, {1, 0, 0, 1, 0, 0, false}},
        {"accents switch pronounceable off", 0x30, {0, 0, 0, 0, 1, 0, false}},
    };
    for (const auto& c : cases) {
        CGeneratorChoices choices;
        choices.LoadFlags(c.flags);
        ExpectBoxes(c.want, choices, c.what);
    }
}

TEST(GeneratorChoices, SymbolAndAccentBoxesTogglePronounceable)
{
    const struct {
        const char* what;
        int startFlags;
        bool clickSymbols;  // else the accent box
        Boxes want;
    } cases[] = {
        {"symbols on", 0x07, true, {1, 1, 1, 1, 0, 0, false}},
        {"symbols off, accents clear", 0x0F, true, {1, 1, 1, 0, 0, 1, true}},
        {"symbols off, accents set", 0x1F, true, {1, 1, 1, 0, 1, 0, false}},
        {"accents on", 0x07, false, {1, 1, 1, 0, 1, 0, false}},
        {"accents off, symbols clear", 0x17, false, {1, 1, 1, 0, 0, 1, true}},
        {"accents off, symbols set", 0x1F, false, {1, 1, 1, 1, 0, 0, false}},
    };
    for (const auto& c : cases) {
        CGeneratorChoices choices;
        choices.LoadFlags(c.startFlags);
        if (c.clickSymbols)
            choices.ClickSymbols();
        else
            choices.ClickLatin1();
        ExpectBoxes(c.want, choices, c.what);
    }
}

TEST(GeneratorChoices, StrengthItemsSetTheBoxes)
{
    const struct {
        int item;
        Boxes want;
    } cases[] = {
        {CGeneratorChoices::kHigh, {1, 1, 1, 1, 1, 0, false}},
        {CGeneratorChoices::kMedium, {1, 0, 1, 1, 0, 1, false}},
        {CGeneratorChoices::kLow, {1, 1, 1, 0, 0, 1, true}},
    };
    for (const auto& c : cases) {
        CGeneratorChoices choices;
        choices.LoadFlags(0);
        choices.ChooseStrength(c.item);
        ExpectBoxes(c.want, choices, "strength item");
    }
    CGeneratorChoices unchanged;
    unchanged.LoadFlags(0x07);
    unchanged.ChooseStrength(3);
    unchanged.ChooseStrength(-1);
    ExpectBoxes({1, 1, 1, 0, 0, 1, true}, unchanged, "no such item");
}

TEST(GeneratorChoices, FlagsLengthAndMeterSettings)
{
    CGeneratorChoices choices;
    choices.LoadFlags(0x27);
    EXPECT_EQ(0x07, choices.CharSetFlags());
    EXPECT_EQ(0x27, choices.AllFlags());
    choices.pronounceable = 1;
    choices.lowerCase = choices.upperCase = choices.digits = 0;
    EXPECT_EQ(0, choices.CharSetFlags()) << "pronounceable alone is no character set";

    for (int v : {-5, 0, 3}) {
        choices.SetLength(v);
        EXPECT_EQ(4, choices.length);
    }
    choices.SetLength(21);
    EXPECT_EQ(20, choices.length);
    choices.SetLength(12);
    EXPECT_EQ(12, choices.length);

    choices.LoadFlags(kPwUpper | kPwSymbols);
    const GeneratorSettings s = choices.MeterSettings();
    EXPECT_EQ(12, s.length);
    EXPECT_EQ(0, s.lowerCase);
    EXPECT_EQ(1, s.upperCase);
    EXPECT_EQ(0, s.digits);
    EXPECT_EQ(1, s.symbols);
    EXPECT_EQ(0, s.latin1);
}

}  // namespace
