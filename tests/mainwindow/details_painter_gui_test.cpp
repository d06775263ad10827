// The details pane's drawing on a memory canvas: link hot spots where the
// links are drawn, only web, ftp and mail addresses opened, masked values
// hidden, and a long note making the pane scroll.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/details/DetailsPainter.h"
#include "tests/support/MemoryCanvas.h"

namespace {

class DetailsPainter : public ::testing::Test {
protected:
    CRecord& Make()
    {
        auto* r = new CRecord;
        r->SetId(7);
        database.GetRecords().Add(r);
        return *r;
    }
    void Draw(const CRecord* record, int height = 600)
    {
        RECT rect{0, 0, 300, height};
        painter.Draw(canvas.Dc(), rect, record, database, false, "", 0, style, nullptr);
    }
    CDatabaseObj database;
    DetailsStyle style;
    CDetailsPainter painter;
    zvtest::MemoryCanvas canvas{300, 600};
};

TEST_F(DetailsPainter, LinksGetHotSpotsAndOnlySafeOnesOpen)
{
    CRecord& r = Make();
    r.SetField(0, "www.bank.example");
    r.SetField(3, "https://bank.example/login");
    r.SetField(4, "file:///C:/secret.txt");
    r.SetNotes("write to help@bank.example today");
    Draw(&r);
    std::vector<std::string> addresses;
    for (const LinkHotSpot& spot : painter.HotSpots()) addresses.push_back(std::string(spot.address));
    EXPECT_EQ(
        (std::vector<std::string>{"http://www.bank.example", "https://bank.example/login", "mailto:help@bank.example"}),
        addresses);
    const LinkHotSpot& heading = painter.HotSpots()[0];
    POINT inside{(heading.rect.left + heading.rect.right) / 2, (heading.rect.top + heading.rect.bottom) / 2};
    ASSERT_NE(nullptr, painter.LinkAt(inside));
    EXPECT_EQ(std::string("http://www.bank.example"), std::string(*painter.LinkAt(inside)));
    EXPECT_EQ(nullptr, painter.LinkAt(POINT{299, 599}));
}

TEST_F(DetailsPainter, ALongNoteMakesThePaneScrollAndNoRecordDrawsOnlyTheHeading)
{
    CRecord& r = Make();
    r.SetField(0, "Notes");
    Draw(&r);
    EXPECT_EQ(0, painter.Extent()) << "without notes nothing to scroll";
    r.SetNotes(std::string(5000, 'x').c_str());
    Draw(&r, 90000);
    EXPECT_GT(painter.Extent(), 600) << "the whole note is laid out below the pane's height";
    Draw(nullptr);
    EXPECT_TRUE(painter.HotSpots().empty());
    EXPECT_EQ(0, painter.Extent());
}

}  // namespace
