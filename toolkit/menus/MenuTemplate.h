#pragma once
// Reads the standard menu template (RT_MENU): a 4-byte header (version,
// offset), then per item an option word, an id word unless the item is a
// popup, and a NUL-terminated UTF-16 caption. Every field is bounds-checked:
// a truncated or malformed template is refused, never read past its end.
#include <cstddef>
#include <string>
#include <vector>

#include "framework/ZvTypes.h"

namespace menutemplate {

const WORD kPopup = 0x10;
const WORD kEnd = 0x80;

struct Item {
    WORD option = 0;  // as stored, MF_END included
    WORD id = 0;      // 0 for a popup
    std::wstring text;
    bool IsPopup() const { return (option & kPopup) != 0; }
    bool IsEnd() const { return (option & kEnd) != 0; }
};

// One step of building: open a popup, add a command, or close the level
// that is being built.
struct Step {
    enum Kind { OpenPopup, AddItem, CloseLevel } kind;
    Item item;  // empty for CloseLevel
};

// The items in template order; false when the bytes are not a whole
// template (short header, item cut off, caption without its NUL).
bool ParseItems(const BYTE* data, size_t size, std::vector<Item>& items);

// The building steps of the items: a popup opens a level, an item marked
// as the end closes its level and then every enclosing level whose popup
// was itself the last of its own level. Building stops when the outermost
// level closes; false when the items run out before that.
bool BuildSteps(const std::vector<Item>& items, std::vector<Step>& steps);

}  // namespace menutemplate
