#include "exchange/zip/ZipNames.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// One round of the cleaning; true when it changed the name.
bool CleanOnce(std::string& name)
{
    std::string before = name;
    if (name.size() >= 2 && name[1] == ':') name.erase(0, 2);
    size_t lead = 0;
    while (lead < name.size() && IsSeparator(name[lead])) ++lead;
    name.erase(0, lead);
    // The last "\..\", "\../", "/../" or "/..\".
    for (size_t i = name.size(); i >= 4; --i) {
        size_t at = i - 4;
        if (IsSeparator(name[at]) && name[at + 1] == '.' && name[at + 2] == '.' && IsSeparator(name[at + 3])) {
            name.erase(0, i);
            break;
        }
    }
    // What those forms miss: ".." at the start, at the end, or alone.
    if (name.size() >= 3 && name[0] == '.' && name[1] == '.' && IsSeparator(name[2])) name.erase(0, 3);
    if (name == "..") name.clear();
    if (name.size() >= 3 && name.compare(name.size() - 2, 2, "..") == 0 && IsSeparator(name[name.size() - 3]))
        name.erase(name.size() - 2);
    return name != before;
}

}  // namespace

std::string ZipCleanEntryName(const std::string& stored)
{
    std::string name = stored;
    while (CleanOnce(name)) {}
    return name;
}
