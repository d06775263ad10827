// Which dropped files go to the import, and the refusal's text.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/data/DroppedFiles.h"

TEST(DroppedFiles, OnlyCsvTxtAndZkvInAnyCaseAreImported)
{
    const struct {
        const char* path;
        bool imported;
    } cases[] = {
        {"C:\\in\\a.csv", true},
        {"C:\\in\\a.CSV", true},
        {"b.Txt", true},
        {"c.zkv", true},
        {"C:\\in.zkv\\report.doc", false},
        {"archive.zkv.zip", false},
        {"C:\\in\\noextension", false},
        {"C:\\in\\a.csvx", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.imported, IsImportableDroppedFile(c.path)) << c.path;
}

TEST(DroppedFiles, RefusalNamesTheProduct)
{
    EXPECT_EQ("Zorvikan doesn't recognize that file type.", std::string(DroppedFileRefusalText()));
}
