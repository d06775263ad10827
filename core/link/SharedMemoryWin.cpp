#include <windows.h>

#include <cstring>

#include "core/link/SharedMemory.h"

bool OpenNamedMapping(const char* name, unsigned size, void*& mapping, void*& view)
{
    mapping = view = nullptr;
    // CreateFileMapping opens the existing mapping of that name when there
    // is one; the other side made it with the same size.
    HANDLE handle = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    if (!handle) return false;
    void* mapped = ::MapViewOfFile(handle, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (!mapped) {
        ::CloseHandle(handle);
        return false;
    }
    mapping = handle;
    view = mapped;
    return true;
}

CSharedMemory::CSharedMemory(const char* name) { OpenNamedMapping(name, kSize, m_mapping, m_view); }

CSharedMemory::~CSharedMemory()
{
    Close();
    if (m_view) ::UnmapViewOfFile(m_view);
}

void CSharedMemory::Read(void* buffer) const
{
    if (buffer && m_view) std::memcpy(buffer, m_view, kSize);
}

void CSharedMemory::Write(const void* buffer)
{
    if (buffer && m_view) std::memcpy(m_view, buffer, kSize);
}

void CSharedMemory::Close()
{
    if (m_mapping) {
        ::CloseHandle(m_mapping);
        m_mapping = nullptr;
    }
}
