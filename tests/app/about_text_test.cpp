// The About box's version line: "%s" replaced as text.
#include <gtest/gtest.h>

#include "app/about/AboutText.h"

namespace {

TEST(AboutText, VersionReplacesPercentSAsText)
{
    struct Case {
        const char* templateText;
        const char* version;
        const char* line;
    } cases[] = {
        {"Zorvikan Desktop Version %s", "2.1.0.7", "Zorvikan Desktop Version 2.1.0.7"},
        {"Zorvikan Desktop Version %s", "", "Zorvikan Desktop Version "},
        {"100% Zorvikan %s %d", "1.0", "100% Zorvikan 1.0 %d"},
        {"Version %s", "%s%n%x", "Version %s%n%x"},
        {"No version here", "1.0", "No version here"},
        {"%s and %s", "3", "3 and %s"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(FillVersionLine(c.templateText, c.version).GetString(), c.line) << c.templateText;
}

}  // namespace
