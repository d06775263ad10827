#include "core/os/FileSystemOs.h"

#include <io.h>
#include <windows.h>

namespace zvos {

bool AccessExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

bool HasAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int MakeDirectory(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) ? 0 : static_cast<int>(GetLastError());
}

bool QueryFileSize(const std::string& path, uint32_t& size)
{
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    size = GetFileSize(h, nullptr);
    CloseHandle(h);
    return true;
}

int ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    // The whole 64-bit size: its low half alone would read a cut file.
    LARGE_INTEGER size;
    int result = 0;
    if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
        result = -1;
    } else if (static_cast<uint64_t>(size.QuadPart) > kMaxWholeFileBytes) {
        result = kErrorFileTooLarge;
    } else {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
        char buf[65536];
        uint64_t left = static_cast<uint64_t>(size.QuadPart);
        while (left > 0) {
            DWORD want = left < sizeof buf ? static_cast<DWORD>(left) : static_cast<DWORD>(sizeof buf), got = 0;
            if (!ReadFile(h, buf, want, &got, nullptr) || got == 0) {
                result = -1;
                break;
            }
            bytes.append(buf, got);
            left -= got;
        }
    }
    CloseHandle(h);
    return result;
}

bool CopyFileOverwrite(const std::string& source, const std::string& destination)
{
    return CopyFileA(source.c_str(), destination.c_str(), FALSE) != FALSE;
}

int WriteNewFile(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    DWORD error = 0;
    for (size_t done = 0; done < bytes.size() && !error;) {
        const size_t left = bytes.size() - done;
        const DWORD want = left < 0x100000 ? static_cast<DWORD>(left) : 0x100000;
        DWORD got = 0;
        if (!WriteFile(h, bytes.data() + done, want, &got, nullptr) || got == 0) {
            error = GetLastError();
            if (!error) error = ERROR_WRITE_FAULT;
        }
        done += got;
    }
    if (!error && !FlushFileBuffers(h)) error = GetLastError();
    CloseHandle(h);
    if (error) DeleteFileA(path.c_str());
    return static_cast<int>(error);
}

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

std::string CurrentDirectory()
{
    char buf[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return (n == 0 || n >= sizeof buf) ? std::string() : std::string(buf, n);
}

std::string ExecutablePath()
{
    // Wider than the system's path limit: a cut path would name the wrong folder.
    char buf[1024];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    return (n == 0 || n >= sizeof buf) ? std::string() : std::string(buf, n);
}

std::string NativePath(const std::string& path) { return path; }

int ReplaceFileAtomically(const std::string& source, const std::string& destination)
{
    if (MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    const DWORD error = GetLastError();
    return error ? static_cast<int>(error) : -1;
}

}  // namespace zvos
