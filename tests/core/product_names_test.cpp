// The product's registry names: the spellings that must keep naming one key.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "core/prefs/ProductNames.h"

namespace {

std::string Lower(const char* text)
{
    std::string lower(text);
    for (char& c : lower) c = (char)std::tolower((unsigned char)c);
    return lower;
}

// The registry ignores case: the program's key and the older versions' root
// are the same key, so the older preferences sit beside the program's own.
TEST(ProductNames, TheProgramsKeyIsTheOlderVersionsRoot)
{
    EXPECT_EQ(Lower(kAppRegistryKey), Lower(kLegacyRegistryRoot));
}

// A user's profile section is its legacy key without the root.
TEST(ProductNames, UserKeysLieBelowTheOlderVersionsRoot)
{
    const std::string format(kLegacyUserKeyFormat);
    EXPECT_EQ(format.compare(0, std::strlen(kLegacyRegistryRoot), kLegacyRegistryRoot), 0);
    EXPECT_EQ(format.find('%'), format.rfind('%'));
    EXPECT_NE(format.find("%s"), std::string::npos);
}

}  // namespace
