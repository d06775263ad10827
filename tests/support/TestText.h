#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/CString.h"

namespace zvtest {

// Bytes from hexadecimal text ("0F00A1..."), as fixtures are written.
std::vector<uint8_t> HexBytes(const std::string& hex);

// A path as the program writes it: backslashes in both builds.
CString WinPath(const std::filesystem::path& p);

}  // namespace zvtest
