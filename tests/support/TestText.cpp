#include "tests/support/TestText.h"

namespace zvtest {

std::vector<uint8_t> HexBytes(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

CString WinPath(const std::filesystem::path& p)
{
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return CString(s.c_str());
}

}  // namespace zvtest
