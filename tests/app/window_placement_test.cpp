// The saved window placement ("Winpos") and the command line's own words:
// the text form, the fitting into the work area, the "/rl" shift and the
// file path the command line names.
#include <gtest/gtest.h>

#include "app/services/CommandLineText.h"
#include "app/frame/WindowPlacement.h"

namespace {

const PlacementRect kWork{0, 0, 1024, 738};

bool Same(const PlacementRect& a, const PlacementRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WindowPos, FormatsFourDigitFields)
{
    EXPECT_STREQ("0100 0100 0900 0700 0001", (LPCSTR)FormatWindowPos({100, 100, 900, 700}, true));
    EXPECT_STREQ("0000 0005 1024 0738 0000", (LPCSTR)FormatWindowPos({0, 5, 1024, 738}, false));
    EXPECT_STREQ("-008 -008 1032 0776 0001", (LPCSTR)FormatWindowPos({-8, -8, 1032, 776}, true));
}

TEST(WindowPos, ParsesWhatTheFrameWrites)
{
    struct Case {
        const char* text;
        PlacementRect rect;
        int maximized;
    } cases[] = {
        {"0100 0100 0900 0700 0001", {100, 100, 900, 700}, 1},
        {"0010 0020 0300 0400 0000", {10, 20, 300, 400}, 0},
        {"-008 -008 1032 0776 0001", {-8, -8, 1032, 776}, 1},
        // The last number is the rest of the text; missing numbers read 0.
        {"1 2 3 4 5 6", {1, 2, 3, 4}, 5},
        {"0100 0200", {100, 200, 0, 0}, 0},
        {"garbage", {0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SavedPlacement p;
        ASSERT_TRUE(ParseWindowPos(c.text, p)) << c.text;
        EXPECT_TRUE(Same(c.rect, p.rect)) << c.text;
        EXPECT_EQ(c.maximized, p.maximized) << c.text;
    }
}

TEST(WindowPos, EmptyTextRestoresNothing)
{
    SavedPlacement p;
    EXPECT_FALSE(ParseWindowPos("", p));
}

TEST(WindowPos, RoundTripsThroughTheText)
{
    const PlacementRect rects[] = {{100, 100, 900, 700}, {0, 0, 908, 400}, {-4, -4, 1028, 742}};
    for (const PlacementRect& r : rects) {
        for (bool maximized : {false, true}) {
            SavedPlacement p;
            ASSERT_TRUE(ParseWindowPos(FormatWindowPos(r, maximized), p));
            EXPECT_TRUE(Same(r, p.rect));
            EXPECT_EQ(maximized ? 1 : 0, p.maximized);
        }
    }
}

TEST(WindowPos, NormalizesSwappedCorners)
{
    EXPECT_TRUE(Same(PlacementRect{100, 100, 900, 700}, NormalizePlacementRect({900, 700, 100, 100})));
    EXPECT_TRUE(Same(PlacementRect{100, 100, 900, 700}, NormalizePlacementRect({100, 700, 900, 100})));
}

TEST(WindowPos, FitsIntoTheWorkArea)
{
    struct Case {
        const char* what;
        PlacementRect in;
        PlacementRect out;
    } cases[] = {
        {"wholly inside", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"sticks out right by 50", {274, 100, 1074, 700}, {224, 100, 1024, 700}},
        {"sticks out left", {-30, 100, 770, 700}, {0, 100, 800, 700}},
        {"sticks out at the bottom", {100, 300, 900, 800}, {100, 238, 900, 738}},
        {"sticks out at the top", {100, -20, 900, 500}, {100, 0, 900, 520}},
        {"wider than the work area", {-100, 100, 1200, 700}, {0, 100, 1024, 700}},
        {"taller than the work area", {100, -50, 900, 800}, {100, 0, 900, 738}},
        {"off-screen right and below", {5000, 5000, 5400, 5300}, {624, 438, 1024, 738}},
        {"off-screen left and above", {-3000, -2000, -2600, -1700}, {0, 0, 400, 300}},
        {"huge numbers", {-2000000000, -2000000000, 2000000000, 2000000000}, {0, 0, 1024, 738}},
    };
    for (const Case& c : cases) {
        PlacementRect got = FitIntoWorkArea(c.in, kWork);
        EXPECT_TRUE(Same(c.out, got)) << c.what << ": " << got.left << "," << got.top << "," << got.right << ","
                                      << got.bottom;
        // Once fitted, fitting again changes nothing.
        EXPECT_TRUE(Same(got, FitIntoWorkArea(got, kWork))) << c.what;
    }
}

TEST(WindowPos, WorkAreaNotAtTheOrigin)
{
    const PlacementRect work{0, 40, 1024, 768};  // task bar at the top
    EXPECT_TRUE(Same(PlacementRect{100, 40, 900, 640}, FitIntoWorkArea({100, 0, 900, 600}, work)));
}

TEST(WindowPos, ShiftAddsToEveryCoordinate)
{
    EXPECT_TRUE(Same(PlacementRect{130, 130, 930, 730}, ShiftPlacement({100, 100, 900, 700}, kShiftedPlacementOffset)));
}

TEST(CommandLine, NamesAFileToImport)
{
    struct Case {
        const char* commandLine;
        const char* path;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"C:\\Data\\export.zkv", "C:\\Data\\export.zkv"},
        {"\"C:\\My Data\\export file.zkv\"", "C:\\My Data\\export file.zkv"},
        {"  \"C:\\My Data\\export.zkv\"  ", "C:\\My Data\\export.zkv"},
        {"\"C:\\My Data\\unclosed.zkv", "C:\\My Data\\unclosed.zkv"},
        {"\"\"", ""},
        {"/rl", ""},
        {"/Embedding", ""},
        {"\"/rl\"", ""},
        {"C:\\a b\\c.zkv", "C:\\a b\\c.zkv"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.path, (LPCSTR)GetImportPathFromCommandLine(c.commandLine)) << "[" << c.commandLine << "]";
}

TEST(CommandLine, OnlyRlShiftsThePlacement)
{
    EXPECT_TRUE(IsShiftedPlacementCommandLine("/rl"));
    EXPECT_TRUE(IsShiftedPlacementCommandLine(" /rl "));
    EXPECT_FALSE(IsShiftedPlacementCommandLine("/RL"));
    EXPECT_FALSE(IsShiftedPlacementCommandLine("/rl x"));
    EXPECT_FALSE(IsShiftedPlacementCommandLine(""));
    EXPECT_FALSE(IsShiftedPlacementCommandLine("C:\\rl"));
}

}  // namespace
