#include <windows.h>

#include "app/LinkChangeCounts.h"

CLinkChangeCounts::CLinkChangeCounts(const char* name) {
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
    if (!mapping)
        return;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kSize);
    if (!view) {
        ::CloseHandle(mapping);
        return;
    }
    m_mapping = mapping;
    m_view = view;
}

CLinkChangeCounts::~CLinkChangeCounts() {
    if (m_view)
        ::UnmapViewOfFile(m_view);
    if (m_mapping)
        ::CloseHandle(m_mapping);
}

unsigned CLinkChangeCounts::Increment(Kind kind) {
    if (!m_view)
        return 0;
    return (unsigned)::InterlockedIncrement(static_cast<volatile LONG*>(m_view) + kind);
}

unsigned CLinkChangeCounts::Get(Kind kind) const {
    if (!m_view)
        return 0;
    return (unsigned)::InterlockedCompareExchange(static_cast<volatile LONG*>(m_view) + kind, 0, 0);
}
