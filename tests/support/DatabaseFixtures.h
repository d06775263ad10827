#pragma once
// The database fixtures of tests/fixtures/db/ and what the database tests
// read out of the lists they load.
#include <cstdint>
#include <string>
#include <vector>

#include "core/items/BaseItem.h"
#include "core/items/UniqueKey.h"
#include "framework/CList.h"
#include "tests/support/ScratchDir.h"

namespace zvtest {

// The bytes of tests/fixtures/db/<name>.
inline std::string DbFixtureBytes(const std::string& name) { return ReadFileBytes(FixturePath("db/" + name)); }

// A fixture copied into a scratch folder as its database file.
inline std::filesystem::path CopyDbFixture(const ScratchDir& dir, const std::string& name)
{
    return dir.WriteFile("ZorvikanDatabase.zdb", DbFixtureBytes(name));
}

// A list's items in order.
inline std::vector<CBaseItem*> ItemsOf(const CObList& list)
{
    std::vector<CBaseItem*> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(static_cast<CBaseItem*>(list.GetNext(pos)));
    return out;
}

// A unique key's bytes, comparable in EXPECT_EQ.
inline std::vector<uint8_t> KeyBytes(const uint8_t* key) { return std::vector<uint8_t>(key, key + kUniqueKeySize); }

}  // namespace zvtest
