#include "toolkit/lists/TypeAhead.h"

#include <cctype>

#include "core/os/ProcessWide.h"

namespace {
CProcessWide<CTypeAhead>& Slot()
{
    static CProcessWide<CTypeAhead> slot([] { return std::make_shared<CTypeAhead>(); });
    return slot;
}
}  // namespace

std::shared_ptr<CTypeAhead> CTypeAhead::GetInstance() { return Slot().Get(); }

std::shared_ptr<CTypeAhead> CTypeAhead::ReplaceInstance(std::shared_ptr<CTypeAhead> instance)
{
    return Slot().Replace(std::move(instance));
}

const CString& CTypeAhead::Type(char ch, uint32_t now, uint32_t doubleClickTime)
{
    // Unsigned ticks: the difference stays right across a wrap of the counter.
    if (m_typed && now - m_lastTick > 2 * doubleClickTime) m_prefix.Empty();
    m_prefix += ch;
    m_lastTick = now;
    m_typed = true;
    return m_prefix;
}

bool CTypeAhead::Matches(const CString& text, const CString& prefix)
{
    if (text.IsEmpty() || text.GetLength() < prefix.GetLength()) return false;
    const char* t = text;
    const char* p = prefix;
    for (int i = 0; i < prefix.GetLength(); ++i) {
        if (std::tolower((unsigned char)t[i]) != std::tolower((unsigned char)p[i])) return false;
    }
    return true;
}
