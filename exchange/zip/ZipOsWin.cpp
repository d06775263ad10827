#include <windows.h>

#include "exchange/zip/ZipOs.h"

namespace zvzip {
namespace {

uint64_t FromFileTime(const FILETIME& ft) { return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

FILETIME ToFileTime(uint64_t value)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
}

class HandleStream : public ZipStream {
public:
    HandleStream(HANDLE handle, bool owned) : m_handle(handle), m_owned(owned) {}
    ~HandleStream() override
    {
        if (m_owned) CloseHandle(m_handle);
    }
    bool Read(void* buffer, uint32_t size, uint32_t& got) override
    {
        DWORD n = 0;
        got = 0;
        if (!ReadFile(m_handle, buffer, size, &n, nullptr)) return false;
        got = n;
        return true;
    }
    bool Write(const void* buffer, uint32_t size) override
    {
        DWORD n = 0;
        return WriteFile(m_handle, buffer, size, &n, nullptr) && n == size;
    }
    bool Tell(uint64_t& position) override
    {
        LARGE_INTEGER zero{}, now{};
        // A pipe or console answers with an error or a type that cannot seek.
        if (GetFileType(m_handle) != FILE_TYPE_DISK) return false;
        if (!SetFilePointerEx(m_handle, zero, &now, FILE_CURRENT)) return false;
        position = static_cast<uint64_t>(now.QuadPart);
        return true;
    }
    bool Seek(uint64_t position) override
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(position);
        return SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN) != 0;
    }
    bool Info(ZipFileInfo& info) override
    {
        BY_HANDLE_FILE_INFORMATION bh;
        if (!GetFileInformationByHandle(m_handle, &bh)) return false;
        info.attributes = bh.dwFileAttributes & 0x37;
        info.size = (uint64_t(bh.nFileSizeHigh) << 32) | bh.nFileSizeLow;
        info.writeTime = FromFileTime(bh.ftLastWriteTime);
        info.accessTime = FromFileTime(bh.ftLastAccessTime);
        info.createTime = FromFileTime(bh.ftCreationTime);
        return true;
    }
    bool SetTimes(uint64_t createTime, uint64_t accessTime, uint64_t writeTime) override
    {
        FILETIME c = ToFileTime(createTime), a = ToFileTime(accessTime), w = ToFileTime(writeTime);
        return SetFileTime(m_handle, &c, &a, &w) != 0;
    }

private:
    HANDLE m_handle;
    bool m_owned;
};

std::unique_ptr<ZipStream> Owned(HANDLE h)
{
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleStream>(h, true);
}

}  // namespace

std::unique_ptr<ZipStream> OpenFileForRead(const std::string& path)
{
    return Owned(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
}

std::unique_ptr<ZipStream> CreateFileForWrite(const std::string& path)
{
    return Owned(CreateFileA(path.c_str(), GENERIC_WRITE | GENERIC_READ, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::unique_ptr<ZipStream> CreateFileForExtract(const std::string& path, uint32_t attributes)
{
    DWORD attrs =
        attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (attrs == 0) attrs = FILE_ATTRIBUTE_NORMAL;
    // A read-only file of an earlier extraction would refuse to be replaced.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return Owned(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attrs, nullptr));
}

std::unique_ptr<ZipStream> WrapFileHandle(void* handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleStream>(static_cast<HANDLE>(handle), false);
}

void* CreateBlock(uint32_t size)
{
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, nullptr);
    if (!mapping) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
    // The view keeps the section alive.
    CloseHandle(mapping);
    return view;
}

void ReleaseBlock(void* block, uint32_t)
{
    if (block) UnmapViewOfFile(block);
}

LocalNow CurrentLocalTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return LocalNow{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, FromFileTime(ft)};
}

uint64_t LocalDosToFileTime(uint16_t dosDate, uint16_t dosTime)
{
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(dosDate, dosTime, &local)) return 0;
    if (!LocalFileTimeToFileTime(&local, &utc)) return 0;
    return FromFileTime(utc);
}

bool CreateFolders(const std::string& path)
{
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    for (size_t i = 0; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '\\') continue;
        std::string part = p.substr(0, i);
        if (part.empty() || (part.size() == 2 && part[1] == ':')) continue;
        CreateDirectoryA(part.c_str(), nullptr);
    }
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentFolderWithSeparator()
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof(buffer), buffer);
    std::string folder = n > 0 && n < sizeof(buffer) ? std::string(buffer, n) : std::string();
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    return folder;
}

}  // namespace zvzip
