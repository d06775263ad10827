#include "tests/framework/ArchiveTestSupport.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace fwtest {

std::string Hex(const char* hex)
{
    std::string out;
    int hi = -1;
    for (const char* p = hex; *p; ++p) {
        if (*p == ' ') continue;
        const int c = std::tolower((unsigned char)*p);
        const int v = std::isdigit(c) ? c - '0' : c - 'a' + 10;
        if (v < 0 || v > 15) throw std::invalid_argument("bad hex");
        if (hi < 0) {
            hi = v;
        } else {
            out += (char)(hi * 16 + v);
            hi = -1;
        }
    }
    if (hi >= 0) throw std::invalid_argument("odd hex");
    return out;
}

std::string ToHex(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", c);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

}  // namespace fwtest

int CFwItemA::s_live = 0;

IMPLEMENT_SERIAL(CFwItemA, CObject, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CFwItemA2, CFwItemA, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CFwItemB, CObject, 3)
IMPLEMENT_SERIAL(CFwNest, CObject, 1)
IMPLEMENT_SERIAL(CFwOwningList, CObList, 0)
IMPLEMENT_DYNCREATE(CFwPlain, CObject)

CFwOwningList::~CFwOwningList()
{
    while (!IsEmpty()) delete RemoveHead();
}

void CFwItemA::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_n;
    } else {
        m_schemaSeen = ar.GetObjectSchema();
        ar >> m_n;
    }
}

void CFwItemB::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_w;
    else
        ar >> m_w;
}

void CFwNest::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_pChild;
    else
        m_pChild = ar.ReadNewObject(nullptr);
}
