#include <windows.h>

#include <cstring>

#include "core/SharedMemory.h"

CSharedMemory::CSharedMemory(const char* name) {
    // CreateFileMapping opens the existing mapping of that name when there
    // is one; the other side made it with the same size.
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

CSharedMemory::~CSharedMemory() {
    Close();
    if (m_view)
        ::UnmapViewOfFile(m_view);
}

void CSharedMemory::Read(void* buffer) const {
    if (buffer && m_view)
        std::memcpy(buffer, m_view, kSize);
}

void CSharedMemory::Write(const void* buffer) {
    if (buffer && m_view)
        std::memcpy(m_view, buffer, kSize);
}

void CSharedMemory::Close() {
    if (m_mapping) {
        ::CloseHandle(m_mapping);
        m_mapping = nullptr;
    }
}
