#pragma once
#include <cstddef>
#include <cstdint>

#include "framework/CObject.h"

class CArchive;

// One column of the record list: which data column it shows, how wide, and
// whether it is shown. The second flag byte is carried along untouched.
struct ShowColumnEntry {
    uint16_t id;
    uint16_t width;
    uint8_t visible;
    uint8_t flag;
};

// The layout of the record list's fifteen columns, in display order. Record
// types, the preferences and the main view all keep it in one fixed 96-byte
// form: a 32-bit count, then 15 entries of 6 bytes (16-bit id, 16-bit width,
// visible byte, flag byte), then 2 bytes of padding; numbers little-endian.
class CShowColumns : public CObject {
public:
    static constexpr int kColumns = 15;
    static constexpr size_t kStoredSize = 96;
    static constexpr uint16_t kMinWidth = 24;

    // count as given; entry i gets id i, width 50, visible, flag 0.
    explicit CShowColumns(int32_t count);
    // Count 15 and the entries from the table.
    explicit CShowColumns(const ShowColumnEntry (&entries)[kColumns]);
    CShowColumns(const CShowColumns& other);
    CShowColumns& operator=(const CShowColumns& other);

    // Column numbers are entry indexes 0..14; others lie outside the layout:
    // reading them gives 0 and changing them does nothing.
    uint8_t IsColumnVisible(uint16_t n) const;
    void SetColumnVisible(uint16_t n, int value);
    uint16_t GetColumnWidth(uint16_t n) const;
    // Widths below 24 are stored as 24.
    void SetColumnWidth(uint16_t n, int width);

    // Visible entries among the first count ones.
    int GetVisibleCount() const;
    // The id of the k-th visible entry (from 0) among the first count ones;
    // 0 when there are fewer.
    uint16_t GetVisibleColumnId(int k) const;

    // The 96-byte stored form, written field by field (padding written as 0)
    // and read back the same way (padding ignored).
    void WriteBytes(uint8_t out[kStoredSize]) const;
    void ReadBytes(const uint8_t in[kStoredSize]);

    // Reads or writes the 96-byte form as one block.
    void Serialize(CArchive& ar) override;

private:
    // How many entries the counting operations look at: a stored count that
    // lies outside 0..15 is kept as it is but never walks past the entries.
    int CountedEntries() const;

    int32_t m_count;
    ShowColumnEntry m_entries[kColumns];
};

// The layout of new record types and the fall-back of the preferences.
const CShowColumns& DefaultShowColumns();
