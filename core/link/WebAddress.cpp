#include "core/link/WebAddress.h"

#include <cstring>
#include <string>

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Trimmed(const char* address)
{
    std::string text = address ? address : "";
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// The length of a leading "scheme:" (letters, digits, + - .), 0 when there is
// none.
size_t SchemeLength(const std::string& text)
{
    if (text.empty() || !IsAlpha(text[0])) return 0;
    size_t i = 1;
    while (i < text.size() && (IsAlpha(text[i]) || IsDigit(text[i]) || std::strchr("+-.", text[i]))) ++i;
    return i < text.size() && text[i] == ':' ? i : 0;
}

std::string LowerScheme(const std::string& text, size_t length)
{
    std::string scheme = text.substr(0, length);
    for (char& c : scheme) c = Lower(c);
    return scheme;
}

// "host:port" without a scheme reads like a scheme: a colon followed by
// digits up to the end of the authority is a port.
bool ColonStartsPort(const std::string& text, size_t colon)
{
    size_t i = colon + 1;
    if (i >= text.size() || !IsDigit(text[i])) return false;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i == text.size() || text[i] == '/' || text[i] == '?' || text[i] == '#';
}

}  // namespace

CString WebAddressToOpen(const char* address)
{
    std::string text = Trimmed(address);
    if (text.empty()) return CString();
    size_t scheme = SchemeLength(text);
    if (scheme == 0 || ColonStartsPort(text, scheme)) {
        // No scheme at all; "//host" and "\\host" name no web page either.
        if (text[0] == '/' || text[0] == '\\') return CString();
        return CString(("http://" + text).c_str());
    }
    std::string name = LowerScheme(text, scheme);
    if (name != "http" && name != "https") return CString();
    return CString(text.c_str());
}

CString AddressHost(const char* address)
{
    std::string text = Trimmed(address);
    size_t scheme = SchemeLength(text);
    size_t start = 0;
    if (scheme && !ColonStartsPort(text, scheme)) {
        start = scheme + 1;
        while (start < text.size() && (text[start] == '/' || text[start] == '\\')) ++start;
    }
    size_t end = start;
    while (end < text.size() && !std::strchr("/\\?#", text[end])) ++end;
    std::string authority = text.substr(start, end - start);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    std::string host;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        host = authority.substr(0, close == std::string::npos ? authority.size() : close + 1);
    } else {
        host = authority.substr(0, authority.find(':'));
    }
    for (char& c : host) c = Lower(c);
    return CString(host.c_str());
}

bool IsSameHost(const char* left, const char* right)
{
    CString a = AddressHost(left);
    return !a.IsEmpty() && a == AddressHost(right);
}
