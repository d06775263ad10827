#include "core/items/ShowColumns.h"

#include <cstring>

#include "framework/CArchive.h"

namespace {

inline void StoreLE16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void StoreLE32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

inline uint16_t LoadLE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

inline uint32_t LoadLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr size_t kEntriesOffset = 4;
constexpr size_t kEntrySize = 6;

}  // namespace

CShowColumns::CShowColumns(int32_t count) : m_count(count)
{
    for (int i = 0; i < kColumns; ++i) m_entries[i] = ShowColumnEntry{uint16_t(i), 50, 1, 0};
}

CShowColumns::CShowColumns(const ShowColumnEntry (&entries)[kColumns]) : m_count(kColumns)
{
    for (int i = 0; i < kColumns; ++i) m_entries[i] = entries[i];
}

CShowColumns::CShowColumns(const CShowColumns& other) : CObject(), m_count(other.m_count)
{
    std::memcpy(m_entries, other.m_entries, sizeof m_entries);
}

CShowColumns& CShowColumns::operator=(const CShowColumns& other)
{
    m_count = other.m_count;
    std::memcpy(m_entries, other.m_entries, sizeof m_entries);
    return *this;
}

uint8_t CShowColumns::IsColumnVisible(uint16_t n) const { return n < kColumns ? m_entries[n].visible : 0; }

void CShowColumns::SetColumnVisible(uint16_t n, int value)
{
    if (n < kColumns) m_entries[n].visible = uint8_t(value);
}

uint16_t CShowColumns::GetColumnWidth(uint16_t n) const { return n < kColumns ? m_entries[n].width : 0; }

void CShowColumns::SetColumnWidth(uint16_t n, int width)
{
    if (n >= kColumns) return;
    if (width < kMinWidth) width = kMinWidth;
    if (width > 0xFFFF) width = 0xFFFF;
    m_entries[n].width = uint16_t(width);
}

int CShowColumns::CountedEntries() const
{
    if (m_count <= 0) return 0;
    return m_count < kColumns ? int(m_count) : kColumns;
}

int CShowColumns::GetVisibleCount() const
{
    int visible = 0;
    for (int i = 0; i < CountedEntries(); ++i)
        if (m_entries[i].visible) ++visible;
    return visible;
}

uint16_t CShowColumns::GetVisibleColumnId(int k) const
{
    if (k < 0) return 0;
    for (int i = 0; i < CountedEntries(); ++i) {
        if (m_entries[i].visible && k-- == 0) return m_entries[i].id;
    }
    return 0;
}

void CShowColumns::WriteBytes(uint8_t out[kStoredSize]) const
{
    StoreLE32(out, uint32_t(m_count));
    for (int i = 0; i < kColumns; ++i) {
        uint8_t* p = out + kEntriesOffset + kEntrySize * i;
        StoreLE16(p, m_entries[i].id);
        StoreLE16(p + 2, m_entries[i].width);
        p[4] = m_entries[i].visible;
        p[5] = m_entries[i].flag;
    }
    out[kStoredSize - 2] = 0;
    out[kStoredSize - 1] = 0;
}

void CShowColumns::ReadBytes(const uint8_t in[kStoredSize])
{
    m_count = int32_t(LoadLE32(in));
    for (int i = 0; i < kColumns; ++i) {
        const uint8_t* p = in + kEntriesOffset + kEntrySize * i;
        m_entries[i] = ShowColumnEntry{LoadLE16(p), LoadLE16(p + 2), p[4], p[5]};
    }
}

void CShowColumns::Serialize(CArchive& ar)
{
    uint8_t bytes[kStoredSize];
    if (ar.IsStoring()) {
        WriteBytes(bytes);
        ar.Write(bytes, kStoredSize);
    } else {
        // All or nothing: a truncated layout throws and leaves this one as it was.
        ar.ReadExact(bytes, kStoredSize);
        ReadBytes(bytes);
    }
}

const CShowColumns& DefaultShowColumns()
{
    static const ShowColumnEntry kDefault[CShowColumns::kColumns] = {
        {0, 27, 1, 1},  {1, 140, 1, 0}, {2, 140, 1, 0}, {3, 85, 1, 0},  {4, 85, 1, 0},
        {5, 85, 1, 0},  {6, 85, 1, 0},  {7, 85, 1, 0},  {8, 85, 1, 0},  {9, 85, 1, 0},
        {10, 85, 1, 0}, {11, 85, 1, 0}, {12, 85, 1, 0}, {13, 24, 1, 1}, {14, 24, 1, 1},
    };
    static const CShowColumns layout(kDefault);
    return layout;
}
