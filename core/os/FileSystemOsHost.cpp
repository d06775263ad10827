#include "core/os/FileSystemOs.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace zvos {
namespace {

std::string ToNative(std::string p)
{
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

std::string FromNative(std::string p)
{
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

}  // namespace

bool AccessExists(const std::string& path) { return access(ToNative(path).c_str(), F_OK) == 0; }

bool HasAttributes(const std::string& path)
{
    struct stat st;
    return stat(ToNative(path).c_str(), &st) == 0;
}

int MakeDirectory(const std::string& path) { return mkdir(ToNative(path).c_str(), 0777) == 0 ? 0 : errno; }

bool QueryFileSize(const std::string& path, uint32_t& size)
{
    struct stat st;
    if (stat(ToNative(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size = static_cast<uint32_t>(static_cast<uint64_t>(st.st_size));
    return true;
}

int ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::string native = ToNative(path);
    struct stat st;
    if (stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    if (static_cast<uint64_t>(st.st_size) > kMaxWholeFileBytes) return kErrorFileTooLarge;
    FILE* f = std::fopen(native.c_str(), "rb");
    if (!f) return -1;
    char buf[65536];
    size_t n;
    int result = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        // A file that grew past the limit since it was measured.
        if (bytes.size() + n > kMaxWholeFileBytes) {
            bytes.clear();
            result = kErrorFileTooLarge;
            break;
        }
        bytes.append(buf, n);
    }
    if (result == 0 && std::ferror(f)) result = -1;
    std::fclose(f);
    return result;
}

bool CopyFileOverwrite(const std::string& source, const std::string& destination)
{
    const std::string from = ToNative(source), to = ToNative(destination);
    struct stat a, b;
    if (stat(from.c_str(), &a) != 0 || !S_ISREG(a.st_mode)) return false;
    // Copying a file onto itself would truncate it first.
    if (stat(to.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino) return false;
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return false;
    FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    char buf[4096];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
        if (std::fwrite(buf, 1, n, out) != n) {
            ok = false;
            break;
        }
    if (std::ferror(in)) ok = false;
    std::fclose(in);
    if (std::fclose(out) != 0) ok = false;
    return ok;
}

int WriteNewFile(const std::string& path, const std::string& bytes)
{
    const std::string native = ToNative(path);
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = 0;
    for (size_t done = 0; done < bytes.size() && !error;) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (error) unlink(native.c_str());
    return error;
}

bool DeleteFileAt(const std::string& path) { return unlink(ToNative(path).c_str()) == 0; }

std::string NativePath(const std::string& path) { return ToNative(path); }

int ReplaceFileAtomically(const std::string& source, const std::string& destination)
{
    const std::string to = ToNative(destination);
    if (std::rename(ToNative(source).c_str(), to.c_str()) != 0) return errno;
    // The new name must reach the disk too: sync the folder that holds it.
    std::string folder = to.substr(0, to.find_last_of('/') == std::string::npos ? 0 : to.find_last_of('/'));
    if (folder.empty()) folder = to.find('/') == 0 ? "/" : ".";
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return 0;
}

std::string CurrentDirectory()
{
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? FromNative(buf) : std::string();
}

std::string ExecutablePath()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    return FromNative(std::string(buf, static_cast<size_t>(n)));
}

}  // namespace zvos
