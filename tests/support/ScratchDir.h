#pragma once
#include <filesystem>
#include <string>

namespace zvtest {

// A fresh, empty folder below the system's temporary folder, removed with
// everything in it when the object goes. Tests never touch real user data.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag = "zv");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Path of a file or folder inside the scratch folder (not created).
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    // Writes (or overwrites) a file inside the scratch folder and returns its path.
    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// A file from tests/fixtures.
std::filesystem::path FixturePath(const std::string& relative);

}  // namespace zvtest
