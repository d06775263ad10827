#pragma once
// The "name=value" lines a test-only stand-in library writes of what it was
// handed; lines without "=" are skipped, a later name replaces an earlier.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace zvtest {

inline std::map<std::string, std::string> ReadKeyValueFile(const std::filesystem::path& path)
{
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

}  // namespace zvtest
