#include "sync/server/UnsavedEdits.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/items/BaseItem.h"
#include "core/os/FileSystemOs.h"
#include "core/store/DatabaseObj.h"

namespace {

// What a save writes of the item, without the random tail and the cipher.
std::vector<uint8_t> Written(const CBaseItem& item)
{
    std::vector<uint8_t> body(item.PackedSize() + 64);
    const uint8_t* end = item.WriteBody(body.data());
    body.resize(static_cast<size_t>(end - body.data()));
    const int32_t values[] = {item.GetId(),      item.GetModifiedTime(), item.IsDeleted(),
                              item.IsModified(), item.GetReservedWord(), item.GetReservedLong()};
    const auto* bytes = reinterpret_cast<const uint8_t*>(values);
    body.insert(body.end(), bytes, bytes + sizeof values);
    return body;
}

bool SameItems(const CObList& mine, const CObList& theirs)
{
    if (mine.GetCount() != theirs.GetCount()) return false;
    POSITION a = mine.GetHeadPosition(), b = theirs.GetHeadPosition();
    while (a && b) {
        const auto* left = dynamic_cast<const CBaseItem*>(mine.GetNext(a));
        const auto* right = dynamic_cast<const CBaseItem*>(theirs.GetNext(b));
        if (!left || !right || Written(*left) != Written(*right)) return false;
    }
    return true;
}

}  // namespace

bool HoldsUnsavedEdits(const CDatabaseObj& view, const BlowfishContext* key)
{
    // Loading a missing file would make and save one.
    std::error_code error;
    if (!std::filesystem::exists(zvos::NativePath(view.GetFilePath().Std()), error)) return true;
    CDatabaseObj file;
    if (file.Load(view.GetFilePath(), key) != 0) return true;
    return !SameItems(view.GetTypes(), file.GetTypes()) || !SameItems(view.GetCategories(), file.GetCategories()) ||
           !SameItems(view.GetRecords(), file.GetRecords());
}
