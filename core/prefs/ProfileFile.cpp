#include "core/prefs/ProfileFile.h"

#include <windows.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/os/ProcessSeams.h"
#include "core/prefs/AppPrefsBlock.h"
#include "core/prefs/ProfileList.h"

namespace zvini {

namespace {

// Far beyond any settings file the program writes; a list this long is
// refused rather than cut.
const uint32_t kDefaultListCap = 1u << 28;
std::atomic<uint32_t> g_listCap{kDefaultListCap};

// The narrow writer turns each text into a counted wide string of at most
// 32766 characters. A longer value goes through the wide writer: Wine's narrow
// one would write whatever its stack held in place of it.
const size_t kLongestNarrowValue = 32766;

std::wstring Widen(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide((size_t)n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize((size_t)n - 1);
    return wide;
}

}  // namespace

CString ReadText(const CString& path, const char* section, const char* key, int bufferSize)
{
    if (path.IsEmpty()) return CString();
    std::vector<char> buffer((size_t)bufferSize, 0);
    DWORD n = GetPrivateProfileStringA(section, key, "", buffer.data(), (DWORD)bufferSize, path);
    return CString(buffer.data(), (int)n);
}

// A folder read in full: one cut at the text limit would name another folder
// (its parent, when the cut falls after a backslash), which a user's removal
// would then delete. Longer than any folder path: absent.
CString ReadFolder(const CString& path, const char* section, const char* key)
{
    const int kLongestPath = 32767;
    for (int size = kTextBufferSize;; size *= 2) {
        CString text = ReadText(path, section, key, size);
        // The system answers size - 1 when the value did not fit.
        if (text.GetLength() < size - 1) return text;
        if (size > kLongestPath) return CString();
    }
}

bool WriteText(const CString& path, const char* section, const char* key, const char* value)
{
    if (path.IsEmpty()) return false;
    if (section && key && value && std::strlen(value) > kLongestNarrowValue)
        return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                          Widen(path).c_str()) != FALSE;
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

int ReadInt(const CString& path, const char* section, const char* key, int absent)
{
    CString text = ReadText(path, section, key);
    if (text.IsEmpty()) return absent;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    long long value = 0;
    while (*p >= '0' && *p <= '9' && value <= (long long)UINT_MAX) value = value * 10 + (*p++ - '0');
    if (negative) value = -value;
    // Beyond 32 bits the reader wraps, like the system's.
    return (int)(unsigned int)(unsigned long long)value;
}

void WriteInt(const CString& path, const char* section, const char* key, int value)
{
    CString text;
    text.Format("%d", value);
    WriteText(path, section, key, text);
}

bool ReadBlock(const CString& path, const char* section, const char* key, void* out, int size)
{
    if (size < 0 || size > kMaxPrefsBlockSize) return false;
    // Room for one digit more than a sound value has, so a longer one shows.
    CString text = ReadText(path, section, key, 2 * size + 4);
    return DecodePrefsBlock(text, out, (size_t)size);
}

bool WriteBlock(const CString& path, const char* section, const char* key, const void* data, int size)
{
    if (size < 0 || size > kMaxPrefsBlockSize || (!data && size > 0)) return false;
    return WriteText(path, section, key, EncodePrefsBlock(data, (size_t)size));
}

int ReadBlockInt(const CString& path, const char* section, const char* key, int absent)
{
    BYTE bytes[4];
    if (!ReadBlock(path, section, key, bytes, 4)) return absent;
    return (int)((DWORD)bytes[0] | (DWORD)bytes[1] << 8 | (DWORD)bytes[2] << 16 | (DWORD)bytes[3] << 24);
}

void WriteBlockInt(const CString& path, const char* section, const char* key, int value)
{
    DWORD v = (DWORD)value;
    BYTE bytes[4] = {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)};
    WriteBlock(path, section, key, bytes, 4);
}

int ReadSectionNameList(const CString& path, std::string& names)
{
    names.clear();
    if (path.IsEmpty()) return 0;
    return ReadWholeList(
        [&path](char* buffer, uint32_t size) { return (uint32_t)GetPrivateProfileSectionNamesA(buffer, size, path); },
        g_listCap.load(), names);
}

int ReadSectionLines(const CString& path, const char* section, std::string& lines)
{
    lines.clear();
    if (path.IsEmpty()) return 0;
    return ReadWholeList(
        [&path, section](char* buffer, uint32_t size) {
            return (uint32_t)GetPrivateProfileSectionA(section, buffer, size, path);
        },
        g_listCap.load(), lines);
}

}  // namespace zvini

uint32_t SetProfileListCap(uint32_t bytes) { return zvini::g_listCap.exchange(bytes ? bytes : zvini::kDefaultListCap); }
