#include "core/items/ShowColumns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CMemFile.h"
#include "tests/support/TestText.h"

namespace {

const auto& Hex = zvtest::HexBytes;

// The default layout's stored form, built by hand from its table: count 15,
// then (id, width, visible, flag) per entry, then two bytes of padding.
const std::string kDefaultForm = "0F00000000001B00010101008C000100"
                                 "02008C00010003005500010004005500"
                                 "01000500550001000600550001000700"
                                 "55000100080055000100090055000100"
                                 "0A00550001000B00550001000C005500"
                                 "01000D00180001010E00180001010000";

std::vector<uint8_t> Store(const CShowColumns& layout)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        const_cast<CShowColumns&>(layout).Serialize(ar);
        ar.Close();
    }
    return file.GetContents();
}

CShowColumns Load(const std::vector<uint8_t>& bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CShowColumns layout(0);
    layout.Serialize(ar);
    return layout;
}

std::vector<uint8_t> Bytes(const CShowColumns& layout)
{
    std::vector<uint8_t> bytes(CShowColumns::kStoredSize);
    layout.WriteBytes(bytes.data());
    return bytes;
}

TEST(ShowColumns, DefaultLayoutSerialisesToItsFixedForm)
{
    const std::vector<uint8_t> expected = Hex(kDefaultForm);
    ASSERT_EQ(expected.size(), 96u);
    EXPECT_EQ(Store(DefaultShowColumns()), expected);
    EXPECT_EQ(Bytes(DefaultShowColumns()), expected);
}

TEST(ShowColumns, CountConstructor)
{
    CShowColumns layout(15);
    std::vector<uint8_t> bytes = Bytes(layout);
    EXPECT_EQ(bytes[0], 15);
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        const uint8_t* e = &bytes[size_t(4 + 6 * i)];
        EXPECT_EQ(e[0] | e[1] << 8, i);
        EXPECT_EQ(e[2] | e[3] << 8, 50);
        EXPECT_EQ(e[4], 1);
        EXPECT_EQ(e[5], 0);
    }
    EXPECT_EQ(CShowColumns(3).GetVisibleCount(), 3);
}

TEST(ShowColumns, ColumnWidthHasAMinimumOf24)
{
    struct Case {
        int width;
        uint16_t stored;
    };
    const Case cases[] = {{10, 24}, {23, 24}, {24, 24}, {25, 25}, {0, 24}, {-5, 24}, {300, 300}, {70000, 65535}};
    for (const Case& c : cases) {
        CShowColumns layout = DefaultShowColumns();
        layout.SetColumnWidth(3, c.width);
        EXPECT_EQ(layout.GetColumnWidth(3), c.stored) << c.width;
    }
}

TEST(ShowColumns, VisibleColumnsOfTheDefaultLayout)
{
    CShowColumns layout = DefaultShowColumns();
    EXPECT_EQ(layout.GetVisibleCount(), 15);
    EXPECT_EQ(layout.GetVisibleColumnId(0), 0);
    EXPECT_EQ(layout.GetVisibleColumnId(14), 14);
    EXPECT_EQ(layout.GetVisibleColumnId(15), 0);
    EXPECT_EQ(layout.GetVisibleColumnId(-1), 0);

    layout.SetColumnVisible(0, 0);
    EXPECT_EQ(layout.IsColumnVisible(0), 0);
    EXPECT_EQ(layout.GetVisibleCount(), 14);
    EXPECT_EQ(layout.GetVisibleColumnId(0), 1);
    EXPECT_EQ(layout.GetVisibleColumnId(13), 14);
    EXPECT_EQ(layout.GetVisibleColumnId(14), 0);

    layout.SetColumnVisible(5, 0x102);  // the low byte is stored
    EXPECT_EQ(layout.IsColumnVisible(5), 2);
}

TEST(ShowColumns, CountLimitsTheCountingOperations)
{
    struct Case {
        int32_t count;
        int visible;
        uint16_t lastVisibleId;  // id of the last counted visible entry
    };
    // Stored counts outside 0..15 (a damaged file) never walk past the 15 entries.
    const Case cases[] = {{3, 3, 2}, {0, 0, 0}, {-7, 0, 0}, {15, 15, 14}, {16, 15, 14}, {0x7FFFFFFF, 15, 14}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<uint8_t> bytes = Hex(kDefaultForm);
        for (int i = 0; i < 4; ++i) bytes[size_t(i)] = uint8_t(uint32_t(c.count) >> (8 * i));
        CShowColumns layout = Load(bytes);
        EXPECT_EQ(layout.GetVisibleCount(), c.visible);
        EXPECT_EQ(layout.GetVisibleColumnId(c.visible > 0 ? c.visible - 1 : 0), c.lastVisibleId);
        EXPECT_EQ(layout.GetVisibleColumnId(c.visible), 0);
        // All 15 entries are kept and stored whatever the count.
        EXPECT_EQ(Store(layout), bytes);
    }
}

TEST(ShowColumns, IndexesOutsideTheLayoutAreIgnored)
{
    CShowColumns layout = DefaultShowColumns();
    for (uint16_t n : {uint16_t(15), uint16_t(100), uint16_t(0xFFFF)}) {
        EXPECT_EQ(layout.IsColumnVisible(n), 0);
        EXPECT_EQ(layout.GetColumnWidth(n), 0);
        layout.SetColumnVisible(n, 0);
        layout.SetColumnWidth(n, 99);
    }
    EXPECT_EQ(Bytes(layout), Hex(kDefaultForm));
}

TEST(ShowColumns, ReadAndWriteBackKeepsTheFirst94Bytes)
{
    std::vector<uint8_t> stored(96);
    for (size_t i = 0; i < stored.size(); ++i) stored[i] = uint8_t(i * 29 + 7);
    const CShowColumns layout = Load(stored);
    const std::vector<uint8_t> written = Store(layout);
    ASSERT_EQ(written.size(), 96u);
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 94, stored.begin()));
    EXPECT_EQ(written[94], 0);  // padding is written as zeros
    EXPECT_EQ(written[95], 0);

    CShowColumns viaBytes(0);
    viaBytes.ReadBytes(stored.data());
    EXPECT_EQ(Bytes(viaBytes), written);
}

TEST(ShowColumns, ReadsOneLayoutAfterAnother)
{
    // Layouts sit inside larger records: Serialize takes exactly 96 bytes.
    std::vector<uint8_t> two = Hex(kDefaultForm);
    CShowColumns narrow(15);
    narrow.SetColumnWidth(7, 33);
    const std::vector<uint8_t> second = Bytes(narrow);
    two.insert(two.end(), second.begin(), second.end());
    two.push_back(0xEE);

    CMemFile file(two.data(), UINT(two.size()));
    CArchive ar(&file, CArchive::load);
    CShowColumns a(0), b(0);
    a.Serialize(ar);
    b.Serialize(ar);
    uint8_t rest = 0;
    ar >> rest;
    EXPECT_EQ(Bytes(a), Hex(kDefaultForm));
    EXPECT_EQ(b.GetColumnWidth(7), 33);
    EXPECT_EQ(rest, 0xEE);
}

TEST(ShowColumns, TruncatedLayoutThrowsAndChangesNothing)
{
    std::vector<uint8_t> bytes = Hex(kDefaultForm);
    bytes.resize(95);
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CShowColumns layout(15);
    const std::vector<uint8_t> before = Bytes(layout);
    EXPECT_THROW(layout.Serialize(ar), CArchiveException);
    EXPECT_EQ(Bytes(layout), before);
}

TEST(ShowColumns, CopiesAreIndependent)
{
    CShowColumns copy = DefaultShowColumns();
    copy.SetColumnWidth(1, 200);
    copy.SetColumnVisible(2, 0);
    EXPECT_EQ(DefaultShowColumns().GetColumnWidth(1), 140);
    EXPECT_EQ(DefaultShowColumns().IsColumnVisible(2), 1);
    CShowColumns assigned(3);
    assigned = copy;
    EXPECT_EQ(Bytes(assigned), Bytes(copy));
}

}  // namespace
