// Registered string-table entries (see ZvRegisterString in CString.h).
#include <map>
#include <mutex>

#include "framework/CString.h"
#include "framework/CStringTable.h"

namespace {
std::mutex g_lock;
std::map<UINT, CString>& Table()
{
    static std::map<UINT, CString> table;
    return table;
}
}  // namespace

void ZvRegisterString(UINT nID, const char* pszText)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Table()[nID] = pszText;
}

bool ZvFindRegisteredString(UINT nID, CString& text)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = Table().find(nID);
    if (it == Table().end()) return false;
    text = it->second;
    return true;
}
