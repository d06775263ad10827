// The preference key table: what the two stores rely on in it.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <utility>

#include "core/prefs/PrefKeys.h"

namespace {

std::string Lower(const char* text)
{
    std::string lower(text);
    for (char& c : lower) c = (char)std::tolower((unsigned char)c);
    return lower;
}

// Where a key lands in a store: the file has only the platform section and
// the user's section; the registry also has the user's own key.
int Location(const PrefKey& key, PrefStore store)
{
    if (store == PrefStore::File && key.place == PrefPlace::UserKey) return (int)PrefPlace::User;
    return (int)key.place;
}

// Both stores find values by name regardless of case, so two keys in one
// place would read and write the same value.
TEST(PrefKeys, NoTwoKeysShareANameInOnePlaceOfAStore)
{
    for (PrefStore store : {PrefStore::File, PrefStore::Registry}) {
        std::map<std::pair<int, std::string>, int> seen;
        for (int i = 0; i < kPrefKeyCount; ++i) {
            const PrefKey& key = PrefKeyOf(static_cast<PrefId>(i));
            if (!IsKeptIn(key, store)) continue;
            auto where = std::make_pair(Location(key, store), Lower(key.name));
            auto inserted = seen.emplace(where, i);
            EXPECT_TRUE(inserted.second) << "\"" << key.name << "\" in rows " << inserted.first->second << " and " << i
                                         << " of store " << (int)store;
        }
    }
}

// The file has no form for a flag that counts by its mere presence.
TEST(PrefKeys, StoredFlagsAreKeptOnlyInTheRegistry)
{
    for (int i = 0; i < kPrefKeyCount; ++i) {
        const PrefKey& key = PrefKeyOf(static_cast<PrefId>(i));
        if (key.type == PrefType::StoredFlag) {
            EXPECT_FALSE(IsKeptIn(key, PrefStore::File)) << key.name;
        }
    }
}

}  // namespace
