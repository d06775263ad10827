#pragma once
// Items whose custom icon file is gone fall back to the default icon.
#include <functional>
#include <string>

class CDatabaseObj;

// For every record (deleted ones included), then every type: an icon id
// above 64 whose file ("<id>.png") the folder does not hold becomes the
// default icon and the item is marked modified. The number of items
// changed; the caller saves once when it is not 0.
int ResetMissingCustomIcons(CDatabaseObj& db, const std::function<bool(const std::string& fileName)>& exists);
