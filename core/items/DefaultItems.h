#pragma once
// The record types and categories that a new database starts with. Their
// keys are preset keys (00 00 00 00 00 00 hi lo); other code finds the type
// "Web Logins" by its key.
#include <cstdint>

#include "core/items/UniqueKey.h"

class CTypesList;
class CCategoryList;

constexpr int kDefaultTypeCount = 18;
constexpr int kDefaultCategoryCount = 2;
// The key of the default type "Web Logins".
inline constexpr uint8_t kWebLoginsTypeKey[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x12};

// Appends the 18 default types in their table order (not sorted). 0, or -1
// when an item could not be allocated (those made before stay in the list).
int CreateDefaultTypes(CTypesList& types);
// Appends "Business" and "Personal".
int CreateDefaultCategories(CCategoryList& categories);
