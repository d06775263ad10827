#include <windows.h>

#include "core/link/LinkChangeCounts.h"
#include "core/link/SharedMemory.h"

CLinkChangeCounts::CLinkChangeCounts(const char* name) { OpenNamedMapping(name, kSize, m_mapping, m_view); }

CLinkChangeCounts::~CLinkChangeCounts()
{
    if (m_view) ::UnmapViewOfFile(m_view);
    if (m_mapping) ::CloseHandle(m_mapping);
}

unsigned CLinkChangeCounts::Increment(Kind kind)
{
    if (!m_view) return 0;
    return (unsigned)::InterlockedIncrement(static_cast<volatile LONG*>(m_view) + kind);
}

unsigned CLinkChangeCounts::Get(Kind kind) const
{
    if (!m_view) return 0;
    return (unsigned)::InterlockedCompareExchange(static_cast<volatile LONG*>(m_view) + kind, 0, 0);
}
