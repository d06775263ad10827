#include "core/items/DefaultItems.h"

#include "core/items/Category.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"

namespace {

struct DefaultType {
    UINT nameId;
    const char* name;
    const char* labels[9];  // null: the field's default label
    WORD icon;
    WORD hiddenMask;
    WORD checksum;
};

// In the order of their type numbers (1..18), which are the last key byte.
const DefaultType kDefaultTypes[kDefaultTypeCount] = {
    {2010, "Bank Accts", {"Description", "Account #", "PIN", "Name", "Branch", "Phone #"}, 2, 0x0004, 0x91BE},
    {2059, "Birthdays", {"Description", "Date"}, 23, 0x0000, 0xA644},
    {2013, "Calling Cards", {"Description", "Access Number", "PIN"}, 11, 0x0004, 0xE303},
    {2019, "Clothes Size", {"Description", "Shirt Size", "Pant Size", "Shoe Size", "Dress Size"}, 29, 0x0000, 0xFB74},
    {2048, "Combinations", {"Description", "Code"}, 22, 0x0002, 0x5C45},
    {2016, "Credit Cards", {"Description", "Card #", "Exp Date", "Name", "PIN", "Bank"}, 3, 0x0012, 0x89E3},
    {2024, "Email Accts", {"Description", "Username", "Password", "POP3 Host", "SMTP Host"}, 18, 0x0004, 0x69EC},
    {2060, "Emergency Info", {"Description", "Phone #"}, 17, 0x0000, 0x84D4},
    {2051, "Frequent Flyer", {"Description", "Number", "Name", "Date"}, 16, 0x0000, 0x6E54},
    {2029, "Identification", {"Description", "Number", "Name", "Date"}, 24, 0x0002, 0xE95F},
    {2003, "Insurance", {"Description", "Policy #", "Group #", "Insured", "Date", "Phone #"}, 34, 0x0002, 0xDDCA},
    {2036, "Memberships", {"Description", "Account #", "Name", "Date"}, 35, 0x0000, 0x8848},
    {2058, "Phone Numbers", {"Description", "Phone #"}, 32, 0x0000, 0xB580},
    {2053, "Prescriptions", {"Description", "RX#", "Name", "Doctor", "Pharmacy", "Phone #"}, 9, 0x0000, 0x9B53},
    {2038, "Serial Numbers", {"Description", "Serial #", "Purchase Date", "Reseller"}, 10, 0x0000, 0x5B53},
    {2004, "Vehicle Info", {"Description", "Lic Plate #", "Vin #"}, 14, 0x0000, 0xAE07},
    {2043, "Voice Mail", {"Description", "Access #", "PIN"}, 15, 0x0004, 0xAA02},
    {2045, "Web Logins", {"Description", "Username", "Password", "URL"}, 21, 0x0004, 0x0C42},
};

struct DefaultCategory {
    UINT nameId;
    const char* name;
    uint8_t keyLow;
    WORD checksum;
};

const DefaultCategory kDefaultCategories[kDefaultCategoryCount] = {
    {2176, "Business", 0x33, 0x91BE},
    {2175, "Personal", 0x34, 0xA644},
};

// The label of the tenth field of every default type.
constexpr UINT kDateModLabelId = 61449;

CString TableText(UINT id, const char* fallback)
{
    CString text;
    if (!text.LoadString(id)) text = fallback;
    return text;
}

void PresetKey(uint8_t key[kUniqueKeySize], int number)
{
    ClearUniqueKey(key);
    key[6] = static_cast<uint8_t>(number >> 8);
    key[7] = static_cast<uint8_t>(number);
}

}  // namespace

int CreateDefaultTypes(CTypesList& types)
{
    const CString dateMod = TableText(kDateModLabelId, "Date Mod");
    for (int n = 0; n < kDefaultTypeCount; ++n) {
        const DefaultType& d = kDefaultTypes[n];
        CTypeItem* type = static_cast<CTypeItem*>(types.NewItem());
        if (!type) return -1;
        uint8_t key[kUniqueKeySize];
        PresetKey(key, n + 1);
        type->SetKey(key);
        type->SetName(TableText(d.nameId, d.name));
        for (int i = 0; i < kItemFieldCount - 1; ++i)
            type->SetField(i, d.labels[i] ? CString(d.labels[i]) : DefaultFieldLabel(i));
        type->SetField(kItemFieldCount - 1, dateMod);
        type->SetIcon(d.icon);
        type->SetHiddenMask(d.hiddenMask);
        type->SetChecksum(d.checksum);
        types.Add(type);
    }
    return 0;
}

int CreateDefaultCategories(CCategoryList& categories)
{
    for (const DefaultCategory& d : kDefaultCategories) {
        CCategoryItem* category = static_cast<CCategoryItem*>(categories.NewItem());
        if (!category) return -1;
        uint8_t key[kUniqueKeySize];
        PresetKey(key, d.keyLow);
        category->SetKey(key);
        category->SetName(TableText(d.nameId, d.name));
        category->SetChecksum(d.checksum);
        categories.Add(category);
    }
    return 0;
}
