// Which clipboard text the program counts as its own, to clear it and to
// enable Clear Clipboard and Paste.
#include <gtest/gtest.h>

#include <cstring>

#include "mainwindow/locking/ProgramClipboard.h"

namespace {

struct Case {
    const char* what;
    bool copied;              // the program copied a text, at sequence 7
    const char* text;         // null: no text on the clipboard
    uint32_t sequence;        // the clipboard's sequence number now
    bool clear, programText;  // expected
};

const Case kCases[] = {
    {"our field value", true, "s3cret", 7, true, true},
    {"another program's text after our copy", true, "shopping list", 8, false, false},
    {"foreign text, nothing copied", false, "shopping list", 7, false, false},
    {"no text at all", true, nullptr, 7, false, false},
    {"exchange text from anywhere", false, "Zorvikan Zkv File -v3.0\r\nF\r\n", 3, true, true},
    {"export text from anywhere", false, "Zorvikan Export File\r\n", 3, true, false},
    {"older exchange text not ours", false, "Zorvikan Zkv File -v2.0\r\n", 3, false, false},
    {"older exchange text we copied", true, "Zorvikan Zkv File -v2.0\r\n", 7, true, true},
    {"header cut short", false, "Zorvikan Zkv File -v3", 3, false, false},
};

TEST(ProgramClipboard, OnlyTheProgramsOwnTextIsClearedOrOffered)
{
    for (const Case& c : kCases) {
        CProgramClipboard clipboard;
        if (c.copied) clipboard.NoteCopied(7);
        EXPECT_EQ(!c.copied, clipboard.IsClean()) << c.what;
        const size_t size = c.text ? std::strlen(c.text) + 1 : 0;
        EXPECT_EQ(c.clear, clipboard.ShouldClear(c.text, size, c.sequence)) << c.what;
        EXPECT_EQ(c.programText, clipboard.IsProgramText(c.text, size, c.sequence)) << c.what;
    }
}

TEST(ProgramClipboard, AfterClearingTheSameSequenceIsNoLongerOurs)
{
    CProgramClipboard clipboard;
    clipboard.NoteCopied(12);
    ASSERT_TRUE(clipboard.ShouldClear("value", 6, 12));
    clipboard.NoteCleared();
    EXPECT_TRUE(clipboard.IsClean());
    EXPECT_FALSE(clipboard.ShouldClear("value", 6, 12));
    EXPECT_FALSE(clipboard.IsProgramText("value", 6, 12));
}

TEST(ProgramClipboard, TheLatestCopyIsTheOneThatCounts)
{
    CProgramClipboard clipboard;
    clipboard.NoteCopied(4);
    clipboard.NoteCopied(9);
    EXPECT_FALSE(clipboard.ShouldClear("older", 6, 4));
    EXPECT_TRUE(clipboard.ShouldClear("newer", 6, 9));
}

}  // namespace
