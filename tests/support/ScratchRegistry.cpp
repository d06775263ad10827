#include "tests/support/ScratchRegistry.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "framework/WinApp.h"

namespace zvtest {

namespace {

std::atomic<int> g_counter{0};

std::string Trim(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

// A quoted text starting at s[pos] (the opening quote); pos moves past the
// closing quote.
bool ReadQuoted(const std::string& s, size_t& pos, std::string& out)
{
    if (pos >= s.size() || s[pos] != '"') return false;
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '\\' && pos + 1 < s.size()) {
            out += s[++pos];
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(',', pos);
        if (end == std::string::npos) end = text.size();
        std::string word = Trim(text.substr(pos, end - pos));
        if (!word.empty()) {
            char* stop = nullptr;
            unsigned long v = std::strtoul(word.c_str(), &stop, 16);
            if (*stop || v > 0xFF) return false;
            bytes.push_back(BYTE(v));
        }
        pos = end + 1;
    }
    return true;
}

}  // namespace

ScratchRegistry::ScratchRegistry()
{
    m_path = "Software\\ZorvikanTests\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(g_counter++);
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &m_scratch, &disposition) != ERROR_SUCCESS) {
        m_scratch = nullptr;
        return;
    }
    if (RegOverridePredefKey(HKEY_CURRENT_USER, m_scratch) != ERROR_SUCCESS) {
        RegCloseKey(m_scratch);
        m_scratch = nullptr;
        RegDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    }
}

ScratchRegistry::~ScratchRegistry()
{
    if (!m_scratch) return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(m_scratch);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    HKEY tests = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ZorvikanTests", 0, KEY_READ, &tests) == ERROR_SUCCESS) {
        DWORD subKeys = 1;
        RegQueryInfoKeyA(tests, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(tests);
        if (subKeys == 0) RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZorvikanTests");
    }
}

bool ScratchRegistry::ImportRegFile(const std::filesystem::path& file, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (!m_scratch) return fail("no scratch hive");
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail("cannot open " + file.string());
    std::vector<std::string> lines;
    std::string line, pending;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Only hex data continues on the next line.
        if (!line.empty() && line.back() == '\\' && (!pending.empty() || line.find("=hex") != std::string::npos)) {
            pending += line.substr(0, line.size() - 1);
            continue;
        }
        if (!pending.empty()) {
            pending += Trim(line);
            lines.push_back(pending);
            pending.clear();
        } else {
            lines.push_back(line);
        }
    }
    const std::string hkcu = "HKEY_CURRENT_USER\\";
    HKEY key = nullptr;
    bool taking = false;
    for (const std::string& raw : lines) {
        std::string s = Trim(raw);
        if (s.empty() || s[0] == ';' || s.rfind("REGEDIT4", 0) == 0 || s.rfind("Windows Registry Editor", 0) == 0)
            continue;
        if (s[0] == '[') {
            if (key) RegCloseKey(key);
            key = nullptr;
            std::string path = s.substr(1, s.size() >= 2 ? s.size() - 2 : 0);
            taking = path.rfind(hkcu, 0) == 0;
            if (!taking) continue;
            DWORD disposition = 0;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, path.substr(hkcu.size()).c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
                return fail("cannot create " + path);
            continue;
        }
        if (!taking) continue;
        if (!key) return fail("value outside a key: " + s);
        std::string name;
        size_t pos = 0;
        if (s[0] == '@') {
            pos = 1;
        } else if (!ReadQuoted(s, pos, name)) {
            return fail("bad value name: " + s);
        }
        if (pos >= s.size() || s[pos] != '=') return fail("missing '=': " + s);
        std::string data = s.substr(pos + 1);
        LONG rc;
        if (!data.empty() && data[0] == '"') {
            std::string text;
            size_t p = 0;
            if (!ReadQuoted(data, p, text)) return fail("bad string: " + s);
            rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                DWORD(text.size() + 1));
        } else if (data.rfind("dword:", 0) == 0) {
            DWORD v = DWORD(std::strtoul(data.c_str() + 6, nullptr, 16));
            rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
        } else if (data.rfind("hex", 0) == 0) {
            DWORD type = REG_BINARY;
            size_t colon = data.find(':');
            if (colon == std::string::npos) return fail("bad hex value: " + s);
            if (data[3] == '(') type = DWORD(std::strtoul(data.c_str() + 4, nullptr, 16));
            std::vector<BYTE> bytes;
            if (!ParseHexBytes(data.substr(colon + 1), bytes)) return fail("bad hex bytes: " + s);
            rc =
                RegSetValueExA(key, name.c_str(), 0, type, bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
        } else {
            return fail("unknown value kind: " + s);
        }
        if (rc != ERROR_SUCCESS) return fail("cannot write: " + s);
    }
    if (key) RegCloseKey(key);
    return true;
}

bool ScratchRegistry::KeyExists(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool ScratchRegistry::ValueExists(const char* path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool exists = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

CWinApp& ProfileApp()
{
    static CWinApp* app = [] {
        auto* a = new CWinApp("Zorvikan Desktop");
        a->SetRegistryKey("Corvantide");
        return a;
    }();
    return *app;
}

}  // namespace zvtest
