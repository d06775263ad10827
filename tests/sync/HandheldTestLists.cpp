#include "tests/sync/HandheldTestLists.h"

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "tests/support/ScratchDir.h"

namespace zvtest {
namespace {
std::string Hex(const uint8_t* key)
{
    char text[2 * kUniqueKeySize + 1];
    UniqueKeyToHex(key, text);
    return text;
}
}  // namespace

std::string HandheldFixture(const std::string& name) { return FixturePath("handheld/" + name).string(); }

int ReadAll(CHandheldDatabase& database, HandheldLists& lists, CHandheldDatabaseInfo* info)
{
    CHandheldDatabaseInfo ignored;
    int result = database.ReadInfo(info ? *info : ignored);
    if (result == kHandheldOk) result = database.ReadCategories(lists.categories);
    if (result == kHandheldOk) result = database.ReadTypes(lists.types);
    if (result == kHandheldOk) result = database.ReadRecords(lists.records, lists.types, lists.table);
    if (result == kHandheldOk) result = database.ApplyEditedCategories(lists.categories);
    if (result == kHandheldOk) result = database.ApplyEditedTypes(lists.types);
    if (result == kHandheldOk) result = database.ApplyEditedRecords(lists.records);
    return result;
}

int ReadFile(const std::string& path, HandheldLists& lists, CHandheldDatabaseInfo* info)
{
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabase(path.c_str());
    return ReadAll(*database, lists, info);
}

std::string Dump(const HandheldLists& lists, bool withCustomKeys)
{
    std::string out;
    auto line = [&out](std::initializer_list<std::string> cells) {
        std::string text;
        for (const std::string& cell : cells) text += (text.empty() ? "" : "\t") + cell;
        out += text;
    };
    for (POSITION pos = lists.categories.GetHeadPosition(); pos;) {
        auto* item = static_cast<CBaseItem*>(lists.categories.GetNext(pos));
        line({"C", Hex(item->GetKey()), item->GetName().GetString(), item->IsModified() ? "1" : "0"});
        out += "\n";
    }
    for (POSITION pos = lists.types.GetHeadPosition(); pos;) {
        auto* item = static_cast<CBaseItem*>(lists.types.GetNext(pos));
        line({"T", Hex(item->GetKey()), std::to_string(item->GetIcon()), std::to_string(item->GetHiddenMask()),
              item->IsModified() ? "1" : "0", item->GetName().GetString()});
        for (int i = 0; i < kItemFieldCount; ++i) out += "\t" + item->GetField(i).Std();
        out += "\n";
    }
    for (POSITION pos = lists.records.GetHeadPosition(); pos;) {
        auto* record = static_cast<CRecord*>(lists.records.GetNext(pos));
        line({"R", std::to_string(record->GetId()), Hex(record->GetUid()), Hex(record->GetTypeKey()),
              Hex(record->GetCategoryKey()), std::to_string(record->GetIcon()), std::to_string(record->GetHiddenMask()),
              record->IsModified() ? "1" : "0"});
        for (int i = 0; i < kItemFieldCount; ++i) out += "\t" + record->GetField(i).Std();
        out += "\t" + record->GetNotes().Std() + "\t" + record->GetAttachmentName().Std() + "\t" +
               record->GetAttachmentKey().Std();
        for (int i = 0; i < kItemFieldCount; ++i) out += "\t" + record->GetCustomLabel(i).Std();
        out += "\n";
    }
    for (int32_t id : lists.table.GetIds()) {
        auto entry = lists.table.Find(id);
        line({"I", std::to_string(entry->id), Hex(entry->uid), std::to_string(entry->hasCustom),
              withCustomKeys ? Hex(entry->customKey) : std::string("-"), std::to_string(entry->flags),
              std::to_string(entry->kept)});
        out += "\n";
    }
    return out;
}

int WriteBack(const std::string& path, const CSecretString& password, HandheldLists& lists,
              const std::vector<CString>& deletedIds)
{
    std::unique_ptr<CHandheldDatabase> database = OpenHandheldDatabaseForWrite(path.c_str(), password);
    int result = database->BeginWriteBack();
    if (result == kHandheldOk) result = database->WriteCategories(lists.categories);
    if (result == kHandheldOk) result = database->WriteTypes(lists.types);
    if (result == kHandheldOk)
        result = database->WriteRecords(lists.records, lists.types, lists.categories, lists.table);
    if (result == kHandheldOk && !deletedIds.empty()) result = database->WriteDeletedRecordIds(deletedIds);
    if (result == kHandheldOk) result = database->CommitWriteBack(lists.table);
    database->Close();
    return result;
}

}  // namespace zvtest
