// libFuzzer target: the bytes as a whole database file, read the way a load
// reads it, plain and under the key of the password fixture. A file that is
// refused must leave the object unsaveable; a file that is accepted must
// write out, and what is written must read back and write the same bytes
// again. Anything else (a crash, a sanitizer report, a leak, an exception
// that is not an archive or file error) is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/items/ItemPacking.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseObj.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CMemFile.h"

namespace {

// The random tail of packed items is fixed, so that two saves compare.
int FixedTail() { return 0x5A5; }

// Reads the file into db as CDatabaseObj::ReadFile does; false when refused.
// Sorting types and categories by name puts equal names the other way round
// at every load, so a second load that is to write the same bytes skips it.
bool Read(CDatabaseObj& db, const BYTE* data, size_t size, const BlowfishContext* key, bool sort)
{
    CMemFile file(data, static_cast<UINT>(size));
    try {
        CItemKeyScope scope(key);
        CArchive ar(&file, CArchive::load);
        db.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return false;
    }
    if (sort) {
        db.GetTypes().SortByName();
        db.GetCategories().SortByName();
    }
    return true;
}

std::vector<BYTE> Write(CDatabaseObj& db, const BlowfishContext* key)
{
    CMemFile file;
    CItemKeyScope scope(key);
    CArchive ar(&file, CArchive::store);
    db.Serialize(ar);
    ar.Close();
    return file.GetContents();
}

// A broken expectation is a finding like a crash.
void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

void ReadWriteRead(const uint8_t* data, size_t size, const BlowfishContext* key)
{
    CDatabaseObj db;
    if (!Read(db, data, size, key, true)) {
        CHECK(!db.CanSave());
        return;
    }
    CHECK(db.CanSave());
    const std::vector<BYTE> saved = Write(db, key);
    CDatabaseObj again;
    CHECK(Read(again, saved.data(), saved.size(), key, false));
    CHECK(again.GetRecords().GetCount() == db.GetRecords().GetCount());
    CHECK(again.GetTypes().GetCount() == db.GetTypes().GetCount());
    CHECK(again.GetCategories().GetCount() == db.GetCategories().GetCount());
    CHECK(Write(again, key) == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const BlowfishKeyPtr key = MakeBlowfishKey(CString("Correct Horse 7"));
    SetPackRandomSource(&FixedTail);
    ReadWriteRead(data, size, nullptr);
    ReadWriteRead(data, size, key.get());
    return 0;
}
