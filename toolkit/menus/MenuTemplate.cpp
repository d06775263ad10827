#include "toolkit/menus/MenuTemplate.h"

namespace menutemplate {

namespace {

bool ReadWord(const BYTE* data, size_t size, size_t& at, WORD& value)
{
    if (size < 2 || at > size - 2) return false;
    value = (WORD)(data[at] | (data[at + 1] << 8));
    at += 2;
    return true;
}

}  // namespace

bool ParseItems(const BYTE* data, size_t size, std::vector<Item>& items)
{
    items.clear();
    size_t at = 0;
    WORD version = 0, offset = 0;
    if (!data || !ReadWord(data, size, at, version) || !ReadWord(data, size, at, offset)) return false;
    at = 4 + (size_t)offset;
    if (at > size) return false;
    while (at < size) {
        Item item;
        if (!ReadWord(data, size, at, item.option)) return false;
        if (!item.IsPopup() && !ReadWord(data, size, at, item.id)) return false;
        for (;;) {
            WORD ch = 0;
            if (!ReadWord(data, size, at, ch)) return false;
            if (ch == 0) break;
            item.text += (wchar_t)ch;
        }
        items.push_back(item);
        // The outermost level's last popup may leave padding behind it.
        if (item.IsEnd() && item.IsPopup() == false) {
            std::vector<Step> steps;
            if (BuildSteps(items, steps)) return true;
        }
    }
    return !items.empty();
}

bool BuildSteps(const std::vector<Item>& items, std::vector<Step>& steps)
{
    steps.clear();
    // One mark per level under construction: has its last item begun?
    std::vector<bool> ended{false};
    for (const Item& item : items) {
        if (ended.empty()) break;
        if (item.IsPopup()) {
            if (item.IsEnd()) ended.back() = true;
            steps.push_back({Step::OpenPopup, item});
            ended.push_back(false);
            continue;
        }
        steps.push_back({Step::AddItem, item});
        if (item.IsEnd()) {
            ended.back() = true;
            while (!ended.empty() && ended.back()) {
                steps.push_back({Step::CloseLevel, Item{}});
                ended.pop_back();
            }
        }
    }
    return ended.empty();
}

}  // namespace menutemplate
