#include "sync/session/SyncSessionFolder.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/os/FileSystemOs.h"

namespace fs = std::filesystem;

namespace {

fs::path Native(const std::string& path) { return fs::path(zvos::NativePath(path)); }

class CFileWriter : public ISyncFileWriter {
public:
    explicit CFileWriter(std::FILE* file) : m_file(file) {}
    ~CFileWriter() override
    {
        if (m_file) std::fclose(m_file);
    }
    bool Write(const uint8_t* data, size_t size) override
    {
        return m_file && std::fwrite(data, 1, size, m_file) == size;
    }
    bool Close() override
    {
        if (!m_file) return false;
        const bool flushed = std::fflush(m_file) == 0;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        return flushed && closed;
    }

private:
    std::FILE* m_file;
};

class CFileReader : public ISyncFileReader {
public:
    CFileReader(std::FILE* file, int64_t size) : m_file(file), m_size(size) {}
    ~CFileReader() override { std::fclose(m_file); }
    int64_t Size() const override { return m_size; }
    bool Read(uint8_t* buffer, size_t size) override { return std::fread(buffer, 1, size, m_file) == size; }

private:
    std::FILE* m_file;
    int64_t m_size;
};

}  // namespace

CSyncSessionFolder::~CSyncSessionFolder() { Remove(); }

int CSyncSessionFolder::Create(const std::string& base)
{
    Remove();
    static std::atomic<unsigned> serial{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = base + (base.empty() || base.back() == '\\' ? "" : "\\") + "ZvSync-" +
                                      std::to_string(static_cast<unsigned long long>(now) % 1000000007ULL) + "-" +
                                      std::to_string(serial++);
        std::error_code error;
        // create_directory answers false for a folder that was there already.
        if (fs::create_directory(Native(candidate), error)) {
            m_path = candidate;
            return 0;
        }
        if (error && error != std::errc::file_exists) return -1;
    }
    return -1;
}

void CSyncSessionFolder::Remove()
{
    if (m_path.empty()) return;
    std::error_code error;
    fs::remove_all(Native(m_path), error);
    m_path.clear();
}

std::string CSyncSessionFolder::DatabasePath() const { return m_path + "\\" + kHandheldDatabaseFileName; }

std::string CSyncSessionFolder::AttachmentsFolder() const { return m_path + "\\TempAttachments"; }

std::string CSyncSessionFolder::IconsFolder() const { return m_path + "\\Icons"; }

std::string CSyncSessionFolder::PathFor(SyncBatch batch, const std::string& name) const
{
    if (m_path.empty() || !IsAcceptedSyncFileName(batch, name)) return std::string();
    switch (batch) {
    case SyncBatch::kDatabase: return DatabasePath();
    case SyncBatch::kAttachments: return AttachmentsFolder() + "\\" + name;
    case SyncBatch::kIcons: return IconsFolder() + "\\" + name;
    }
    return std::string();
}

std::unique_ptr<ISyncFileWriter> CSyncSessionFolder::CreateFile(SyncBatch batch, const std::string& name) const
{
    const std::string path = PathFor(batch, name);
    if (path.empty()) return nullptr;
    std::error_code error;
    fs::create_directories(Native(path).parent_path(), error);
    std::FILE* file = std::fopen(zvos::NativePath(path).c_str(), "wb");
    if (!file) return nullptr;
    return std::make_unique<CFileWriter>(file);
}

std::unique_ptr<ISyncFileReader> OpenSyncFileReader(const std::string& path)
{
    std::FILE* file = std::fopen(zvos::NativePath(path).c_str(), "rb");
    if (!file) return nullptr;
    if (std::fseek(file, 0, SEEK_END) != 0) {
        std::fclose(file);
        return nullptr;
    }
    const long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return std::make_unique<CFileReader>(file, static_cast<int64_t>(size));
}
