#pragma once
// The special 8-byte keys of the record filters. A filter key is either one
// of these or the key of a type or category.
#include <cstdint>

#include "core/items/UniqueKey.h"

// Any type, or any category.
inline constexpr uint8_t KEY_ALL[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
// No type or no category ("Unfiled"): the null key.
inline constexpr uint8_t KEY_UNFILED[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0};
// The "Edit Types..." / "Edit Categories..." entry of a filter combo.
inline constexpr uint8_t KEY_EDIT_ENTRY[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFE};
