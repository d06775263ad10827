#pragma once
// Byte helpers and small serialisable classes for the archive tests.
#include <string>

#include "framework/CArchive.h"
#include "framework/CList.h"
#include "framework/CMemFile.h"
#include "framework/CObject.h"

namespace fwtest {

// "FF 2C 01" -> the three bytes; blanks are ignored.
std::string Hex(const char* hex);
// Bytes as upper-case hex pairs separated by blanks (for readable failures).
std::string ToHex(const std::string& bytes);

// Runs f on a storing archive over a memory file; returns the bytes written.
template <class F> std::string Store(F f)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    f(ar);
    ar.Close();
    const auto& v = file.GetContents();
    return std::string(v.begin(), v.end());
}

// Runs f on a loading archive over the bytes; returns how many bytes were left
// unread.
template <class F> size_t Load(const std::string& bytes, F f)
{
    CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    f(ar);
    ar.Close();
    return (size_t)(file.GetLength() - file.GetPosition());
}

}  // namespace fwtest

// A versionable item class with one number.
class CFwItemA : public CObject {
    DECLARE_SERIAL(CFwItemA)
public:
    int m_n = 0;
    UINT m_schemaSeen = 0;
    static int s_live;
    CFwItemA() { ++s_live; }
    ~CFwItemA() override { --s_live; }
    void Serialize(CArchive& ar) override;
};

// Derived from A, for IsKindOf and class checks.
class CFwItemA2 : public CFwItemA {
    DECLARE_SERIAL(CFwItemA2)
};

// A class with a fixed schema (3) and one 16-bit number.
class CFwItemB : public CObject {
    DECLARE_SERIAL(CFwItemB)
public:
    short m_w = 0;
    void Serialize(CArchive& ar) override;
};

// An object that owns one child object (may be null), for nesting.
class CFwNest : public CObject {
    DECLARE_SERIAL(CFwNest)
public:
    CObject* m_pChild = nullptr;
    ~CFwNest() override { delete m_pChild; }
    void Serialize(CArchive& ar) override;
};

// A serialisable list that owns its elements: its destructor deletes them.
class CFwOwningList : public CObList {
    DECLARE_SERIAL(CFwOwningList)
public:
    ~CFwOwningList() override;
};

// Dynamic but not serialisable.
class CFwPlain : public CObject {
    DECLARE_DYNCREATE(CFwPlain)
};
