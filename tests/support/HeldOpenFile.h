#pragma once
// A file held open with no sharing, as another program may hold it, for as
// long as the object lives. Windows build only.
#include <windows.h>

#include <filesystem>

namespace zvtest {

class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::filesystem::path& file)
        : m_handle(CreateFileA(file.string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {}
    ~HeldOpenFile()
    {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;
    bool Ok() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

}  // namespace zvtest
