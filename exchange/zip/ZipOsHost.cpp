#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "exchange/zip/ZipOs.h"

namespace zvzip {
namespace {

// Seconds between 1601-01-01 and 1970-01-01, in file-time units.
constexpr uint64_t kUnixEpochFileTime = 116444736000000000ull;

std::string Native(std::string p)
{
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

uint64_t FileTimeOf(const struct timespec& ts)
{
    if (ts.tv_sec < 0) return kUnixEpochFileTime;
    return kUnixEpochFileTime + uint64_t(ts.tv_sec) * 10000000ull + uint64_t(ts.tv_nsec) / 100;
}

class FileStream : public ZipStream {
public:
    FileStream(FILE* file, bool owned) : m_file(file), m_owned(owned) {}
    ~FileStream() override
    {
        if (m_owned) fclose(m_file);
    }
    bool Read(void* buffer, uint32_t size, uint32_t& got) override
    {
        got = static_cast<uint32_t>(fread(buffer, 1, size, m_file));
        return got == size || !ferror(m_file);
    }
    bool Write(const void* buffer, uint32_t size) override { return fwrite(buffer, 1, size, m_file) == size; }
    bool Tell(uint64_t& position) override
    {
        long at = ftell(m_file);
        if (at < 0) return false;
        position = static_cast<uint64_t>(at);
        return true;
    }
    bool Seek(uint64_t position) override { return fseek(m_file, static_cast<long>(position), SEEK_SET) == 0; }
    bool Info(ZipFileInfo& info) override
    {
        struct stat st;
        if (fstat(fileno(m_file), &st) != 0) return false;
        info.attributes = S_ISDIR(st.st_mode) ? 0x10 : 0x20;
        if (!(st.st_mode & S_IWUSR)) info.attributes |= 1;
        info.size = static_cast<uint64_t>(st.st_size);
        info.writeTime = FileTimeOf(st.st_mtim);
        info.accessTime = FileTimeOf(st.st_atim);
        info.createTime = FileTimeOf(st.st_ctim);
        return true;
    }
    bool SetTimes(uint64_t, uint64_t accessTime, uint64_t writeTime) override
    {
        fflush(m_file);
        struct timespec t[2];
        for (int i = 0; i < 2; ++i) {
            uint64_t ft = i == 0 ? accessTime : writeTime;
            uint64_t since = ft > kUnixEpochFileTime ? ft - kUnixEpochFileTime : 0;
            t[i].tv_sec = static_cast<time_t>(since / 10000000ull);
            t[i].tv_nsec = static_cast<long>(since % 10000000ull) * 100;
        }
        return futimens(fileno(m_file), t) == 0;
    }

private:
    FILE* m_file;
    bool m_owned;
};

std::unique_ptr<ZipStream> Owned(FILE* f)
{
    if (!f) return nullptr;
    return std::make_unique<FileStream>(f, true);
}

}  // namespace

std::unique_ptr<ZipStream> OpenFileForRead(const std::string& path)
{
    struct stat st;
    std::string native = Native(path);
    if (stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return nullptr;
    return Owned(fopen(native.c_str(), "rb"));
}

std::unique_ptr<ZipStream> CreateFileForWrite(const std::string& path)
{
    return Owned(fopen(Native(path).c_str(), "w+b"));
}

std::unique_ptr<ZipStream> CreateFileForExtract(const std::string& path, uint32_t attributes)
{
    std::string native = Native(path);
    chmod(native.c_str(), 0644);
    FILE* f = fopen(native.c_str(), "wb");
    if (f && (attributes & 1)) fchmod(fileno(f), 0444);
    return Owned(f);
}

std::unique_ptr<ZipStream> WrapFileHandle(void* handle)
{
    if (!handle) return nullptr;
    return std::make_unique<FileStream>(static_cast<FILE*>(handle), false);
}

void* CreateBlock(uint32_t size)
{
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void ReleaseBlock(void* block, uint32_t size)
{
    if (block) munmap(block, size);
}

LocalNow CurrentLocalTime()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm local;
    localtime_r(&ts.tv_sec, &local);
    return LocalNow{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min,         local.tm_sec,     FileTimeOf(ts)};
}

uint64_t LocalDosToFileTime(uint16_t dosDate, uint16_t dosTime)
{
    struct tm local = {};
    local.tm_year = (dosDate >> 9) + 80;
    local.tm_mon = ((dosDate >> 5) & 15) - 1;
    local.tm_mday = dosDate & 31;
    local.tm_hour = dosTime >> 11;
    local.tm_min = (dosTime >> 5) & 63;
    local.tm_sec = (dosTime & 31) * 2;
    local.tm_isdst = -1;
    time_t t = mktime(&local);
    if (t == static_cast<time_t>(-1)) return 0;
    struct timespec ts = {t, 0};
    return FileTimeOf(ts);
}

bool CreateFolders(const std::string& path)
{
    std::string p = Native(path);
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/') continue;
        mkdir(p.substr(0, i).c_str(), 0777);
    }
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentFolderWithSeparator()
{
    char buffer[4096];
    std::string folder = getcwd(buffer, sizeof(buffer)) ? std::string(buffer) : std::string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace zvzip
