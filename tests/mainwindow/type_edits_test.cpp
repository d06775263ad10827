// The type and category editors' rules: accepted names, the values the
// type dialog shows, and what confirming it changes.
#include <gtest/gtest.h>

#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "mainwindow/editors/TypeEdits.h"

namespace {

TEST(TypeNames, EmptyUnfiledAndTakenNamesAreRefused)
{
    CTypesList types;
    auto* bank = new CTypeItem;
    bank->SetName("Bank");
    types.Add(bank);
    auto* gone = new CTypeItem;
    gone->SetName("Gone");
    gone->SetDeleted(true);
    types.Add(gone);
    const struct {
        const char* name;
        const CBaseItem* edited;
        const CObjectList* list;
        int result;
    } cases[] = {
        {"", nullptr, &types, kNameMissing},
        {"unfiled", nullptr, &types, kNameTaken},
        {"UNFILED", bank, &types, kNameTaken},
        {"bank", nullptr, &types, kNameTaken},
        {"BANK", bank, &types, 0},  // its own name in another case
        {"Gone", nullptr, &types, 0},
        {"Mail", nullptr, &types, 0},
        {"Bank", nullptr, nullptr, 0},  // categories may share names
        {"Unfiled", nullptr, nullptr, kNameTaken},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, CheckItemName(c.name, c.list, c.edited)) << c.name;
}

TEST(TypeEditsApply, DefaultsShownAndNothingChangedWithoutEdits)
{
    CTypeItem type;
    type.SetName("Bank");
    type.SetField(2, "PIN");
    type.SetField(9, "Renewal");
    type.SetHiddenMask(0x4);
    type.SetModified(false);
    const TypeEdits shown = LoadTypeEdits(type);
    EXPECT_EQ(CString("Field 1"), shown.labels[0]);
    EXPECT_EQ(CString("PIN"), shown.labels[2]);
    EXPECT_EQ(CString("Date Mod"), shown.labels[9]);
    EXPECT_TRUE(shown.masked[2]);

    CTypeItem plain;
    plain.SetName("Plain");
    plain.SetModified(false);
    EXPECT_FALSE(ApplyTypeEdits(plain, LoadTypeEdits(plain), false).changed);
    EXPECT_FALSE(plain.IsModified());

    // A tenth label of the type's own becomes "Date Mod".
    const TypeChange change = ApplyTypeEdits(type, shown, false);
    EXPECT_TRUE(change.changed);
    EXPECT_EQ(0x200, change.labelsChanged);
    EXPECT_EQ(0, change.masksChanged);
    EXPECT_FALSE(change.nameChanged);
    EXPECT_TRUE(type.IsModified());
}

TEST(TypeEditsApply, EachChangeIsReported)
{
    CTypeItem type;
    type.SetName("Bank");
    TypeEdits edits = LoadTypeEdits(type);
    edits.name = "bank";
    edits.labels[2] = "Password";
    edits.masked[2] = true;
    edits.icon = 40;
    const TypeChange change = ApplyTypeEdits(type, edits, false);
    EXPECT_TRUE(change.nameChanged) << "a change of case is a rename";
    EXPECT_EQ(0x4, change.labelsChanged);
    EXPECT_EQ(0x4, change.masksChanged);
    EXPECT_TRUE(change.iconChanged);
    EXPECT_EQ(CString("Password"), type.GetField(2));
    EXPECT_EQ(0x4, type.GetHiddenMask());
    EXPECT_EQ(40, type.GetIcon());

    CTypeItem fresh;
    const TypeChange added = ApplyTypeEdits(fresh, LoadTypeEdits(fresh), true);
    EXPECT_EQ(0x3FF, added.labelsChanged) << "a new type takes every value";
    EXPECT_TRUE(added.changed);
}

}  // namespace
