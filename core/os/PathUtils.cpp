#include "core/os/PathUtils.h"

#include <cstdio>
#include <string>

namespace {

std::string ToStd(const CString& s)
{
    return std::string(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
}

CString FromStd(const std::string& s) { return CString(s.c_str(), static_cast<int>(s.size())); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the name starts: after the drive ("C:") and the last separator,
// the way the run-time's path splitter divides a path.
size_t NameStart(const std::string& p)
{
    size_t start = (p.size() >= 2 && p[1] == ':') ? 2 : 0;
    for (size_t i = start; i < p.size(); ++i)
        if (IsSeparator(p[i])) start = i + 1;
    return start;
}

// Position of the dot that starts the extension, or npos when the scan from
// the end meets a backslash first, finds no dot, or finds it at position 0.
size_t ExtensionDot(const std::string& p)
{
    for (size_t i = p.size(); i-- > 0;) {
        if (p[i] == '\\') return std::string::npos;
        if (p[i] == '.') return i > 0 ? i : std::string::npos;
    }
    return std::string::npos;
}

}  // namespace

CString JoinPath(const CString& first, const CString& second)
{
    std::string a = ToStd(first), b = ToStd(second);
    if (!a.empty() && a.back() != '\\' && !b.empty() && b.front() != '\\') a += '\\';
    return FromStd(a + b);
}

void SplitPath(CString& path, CString* folder, bool keepBackslash)
{
    std::string p = ToStd(path);
    size_t nameStart = NameStart(p);
    if (nameStart == 0) return;
    std::string dir = p.substr(0, nameStart);
    if (!keepBackslash && IsSeparator(dir.back())) dir.pop_back();
    path = FromStd(p.substr(nameStart));
    if (folder) *folder = FromStd(dir);
}

CString GetFileNameOfPath(const CString& path)
{
    CString name = path;
    SplitPath(name, nullptr, true);
    return name;
}

CString GetDirectoryOfPath(const CString& path, bool trailingBackslash)
{
    std::string p = ToStd(path);
    size_t last = p.rfind('\\');
    std::string dir = last == std::string::npos ? std::string() : p.substr(0, last);
    if (trailingBackslash) dir += '\\';
    return FromStd(dir);
}

bool StripExtension(CString& path)
{
    std::string p = ToStd(path);
    if (p.empty()) return true;
    size_t dot = ExtensionDot(p);
    if (dot == std::string::npos) return false;
    path = FromStd(p.substr(0, dot));
    return true;
}

CString GetExtensionOfPath(const CString& path)
{
    std::string p = ToStd(path);
    size_t dot = ExtensionDot(p);
    return dot == std::string::npos ? CString() : FromStd(p.substr(dot + 1));
}

CString MakeSafeFileName(const CString& text)
{
    static const char kForbidden[] = "\\/:*?\"<>|";
    std::string s = ToStd(text);
    for (char& c : s)
        for (const char* f = kForbidden; *f; ++f)
            if (c == *f) c = '_';
    return FromStd(s);
}

CString FormatByteSizeText(unsigned int size)
{
    char text[64];
    if (size <= 1024) {
        snprintf(text, sizeof text, "%u Bytes", size);
        return CString(text);
    }
    // Kilobytes below 1025 KB, else whole kilobytes counted in megabytes; the
    // value is a multiple of 1/1024, so its first two decimals come out the
    // same whether cut from the exact value or from six rounded decimals.
    unsigned int units = size, unit = 1024;
    const char* suffix = " KB";
    if (size >= 1049600u) {
        units = size / 1024;
        suffix = " MB";
    }
    unsigned int whole = units / unit;
    unsigned int hundredths = (units % unit) * 100 / unit;
    snprintf(text, sizeof text, "%u.%02u%s", whole, hundredths, suffix);
    return CString(text);
}
