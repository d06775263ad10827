#include "tests/support/ScratchDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

#ifndef ZV_FIXTURES_DIR
#define ZV_FIXTURES_DIR "tests/fixtures"
#endif

namespace fs = std::filesystem;

namespace zvtest {

ScratchDir::ScratchDir(const std::string& tag)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        std::ostringstream name;
        name << tag << '-' << stamp << '-' << counter++;
        fs::path candidate = fs::temp_directory_path() / name.str();
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            m_path = candidate;
            return;
        }
        if (ec) throw fs::filesystem_error("cannot create scratch folder", candidate, ec);
    }
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path ScratchDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    fs::path p = m_path / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path FixturePath(const std::string& relative) { return fs::path(ZV_FIXTURES_DIR) / relative; }

}  // namespace zvtest
