// Custom icon files and ids, the chooser's grid and selection, the image
// list's extent, and the reset of icons whose file is gone.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/icons/IconCatalog.h"
#include "mainwindow/icons/IconRepair.h"

namespace {

std::function<bool(const std::string&)> FolderHolding(std::set<std::string> files)
{
    return [files](const std::string& name) { return files.count(name) != 0; };
}

TEST(IconFiles, NextFreeNumberStartsAt1000AndFillsGaps)
{
    EXPECT_EQ(1000, NextFreeIconNumber(FolderHolding({})));
    EXPECT_EQ(1001, NextFreeIconNumber(FolderHolding({"1000.png", "1002.png"})));
    EXPECT_EQ(1003, NextFreeIconNumber(FolderHolding({"1000.png", "1001.png", "1002.png", "999.png"})));
    // Other files of the folder do not count.
    EXPECT_EQ(1000, NextFreeIconNumber(FolderHolding({"1000.jpg", "abc.png"})));
    EXPECT_EQ(0, NextFreeIconNumber([](const std::string&) { return true; }));
}

TEST(IconFiles, IdsAndExtensionsOfFileNames)
{
    const struct {
        const char* name;
        bool taken;
        uint16_t id;
    } cases[] = {
        {"1000.png", true, 1000},  {"1000.PNG", true, 1000},   {"77.Png", true, 77}, {"abc.png", true, 0},
        {"12abc.png", true, 12},   {"icon.jpg", false, 0},     {"png", false, 0},    {"1000.png.bak", false, 1000},
        {"70000.png", true, 4464}, {"65535.png", true, 65535}, {"5", false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.taken, IsIconFileName(c.name));
        EXPECT_EQ(c.id, IconIdFromFileName(c.name));
    }
    EXPECT_EQ("1000.png", IconFileName(1000));
}

TEST(IconFiles, ImageListCoversBuiltInsAndBoundedCustomIds)
{
    EXPECT_EQ(63, ImageListLastId({}));
    EXPECT_EQ(63, ImageListLastId({0, 12}));
    EXPECT_EQ(1000, ImageListLastId({1000, 64}));
    // A stray large id is left out rather than widening the list to it.
    EXPECT_EQ(1001, ImageListLastId({1000, 65000, 1001}));
    EXPECT_EQ(kMaxImageListIconId, ImageListLastId({kMaxImageListIconId, kMaxImageListIconId + 1}));
}

TEST(IconFiles, ChosenFilesOfTheFileDialog)
{
    const struct {
        std::string buffer;
        std::vector<std::string> paths;
    } cases[] = {
        {std::string("C:\\pics\\one.png\0\0", 18), {"C:\\pics\\one.png"}},
        {std::string("C:\\pics\0a.png\0b.bmp\0\0", 20), {"C:\\pics\\a.png", "C:\\pics\\b.bmp"}},
        {std::string("C:\\\0a.png\0\0", 11), {"C:\\a.png"}},
        {std::string("\0\0", 2), {}},
        // No closing zeros: the buffer's end closes the last name.
        {std::string("C:\\x\0y.png", 10), {"C:\\x\\y.png"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buffer);
        EXPECT_EQ(c.paths, SplitChosenFiles(c.buffer.data(), c.buffer.size()));
    }
}

TEST(IconChooser, BuiltInIdsRunDownTheGridColumns)
{
    const struct {
        int id;
        int cell;
    } cases[] = {{0, 0}, {1, 8}, {9, 9}, {8, 1}, {7, 56}, {63, 63}, {24, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CIconChooserModel model;
        model.SelectIconId(c.id);
        EXPECT_EQ(c.cell, model.GetSelectedIndex());
        EXPECT_EQ(c.id, model.GetSelectedIconId());
    }
}

TEST(IconChooser, CustomSelectionAndDeletionOffer)
{
    CIconChooserModel model;
    model.SetCustomIds({0, 999, 1000, 1001});
    model.SelectIconId(1001);
    EXPECT_EQ(64 + 3, model.GetSelectedIndex());
    EXPECT_EQ(1001, model.GetSelectedIconId());
    EXPECT_TRUE(model.CanDeleteSelected());
    EXPECT_TRUE(model.OffersDeletion());
    // An id without an icon keeps the selection.
    model.SelectIconId(1500);
    EXPECT_EQ(1001, model.GetSelectedIconId());
    model.SelectIconId(999);
    EXPECT_TRUE(model.CanDeleteSelected());
    EXPECT_FALSE(model.OffersDeletion());
    // abc.png: a custom icon with id 0, after the built-in ones.
    model.SetSelectedIndex(64);
    EXPECT_EQ(0, model.GetSelectedIconId());
    EXPECT_FALSE(model.OffersDeletion());
    model.SelectIconId(5);
    EXPECT_FALSE(model.CanDeleteSelected());
    EXPECT_FALSE(model.OffersDeletion());
}

TEST(IconChooser, ScrollRangeFollowsTheIconCount)
{
    const struct {
        int customCount;
        int selectCustomAt;  // -1: a built-in icon
        int maxRow, position;
        bool enabled;
    } cases[] = {
        {0, -1, 7, 0, false},  {6, -1, 8, 0, true},  {6, 5, 8, 1, true},    {6, 0, 8, 1, true},
        {40, 39, 12, 5, true}, {40, 8, 12, 2, true}, {40, 17, 12, 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.customCount * 100 + c.selectCustomAt);
        CIconChooserModel model;
        std::vector<uint16_t> ids;
        for (int i = 0; i < c.customCount; ++i) ids.push_back((uint16_t)(1000 + i));
        model.SetCustomIds(ids);
        model.SelectIconId(c.selectCustomAt < 0 ? 3 : 1000 + c.selectCustomAt);
        const CIconChooserModel::Scroll s = model.ComputeScroll();
        EXPECT_EQ(c.maxRow, s.maxRow);
        EXPECT_EQ(8, s.page);
        EXPECT_EQ(c.position, s.position);
        EXPECT_EQ(c.enabled, s.enabled);
    }
}

class MissingIcons : public ::testing::Test {
protected:
    template <class T> T* Add(CObjectList& list, WORD icon)
    {
        T* item = new T;
        item->SetIcon(icon);
        item->SetModified(false);
        list.Add(item);
        return item;
    }
    CDatabaseObj db;
};

TEST_F(MissingIcons, OnlyCustomIdsAbove64WithoutTheirFileAreReset)
{
    CRecord* builtIn = Add<CRecord>(db.GetRecords(), 40);
    CRecord* at64 = Add<CRecord>(db.GetRecords(), 64);
    CRecord* present = Add<CRecord>(db.GetRecords(), 1000);
    CRecord* missing = Add<CRecord>(db.GetRecords(), 1001);
    CRecord* deleted = Add<CRecord>(db.GetRecords(), 1002);
    deleted->SetDeleted(true);
    CTypeItem* type = Add<CTypeItem>(db.GetTypes(), 65);

    EXPECT_EQ(3, ResetMissingCustomIcons(db, FolderHolding({"1000.png"})));

    for (CBaseItem* kept : std::vector<CBaseItem*>{builtIn, at64, present}) {
        EXPECT_NE(kDefaultItemIcon, kept->GetIcon());
        EXPECT_FALSE(kept->IsModified());
    }
    for (CBaseItem* reset : std::vector<CBaseItem*>{missing, deleted, type}) {
        EXPECT_EQ(kDefaultItemIcon, reset->GetIcon());
        EXPECT_TRUE(reset->IsModified());
    }
    // Nothing left to repair the second time.
    EXPECT_EQ(0, ResetMissingCustomIcons(db, FolderHolding({"1000.png"})));
}

}  // namespace
