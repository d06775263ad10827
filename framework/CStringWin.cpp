// Windows parts of CString: case rules of the ANSI code page and the string
// table of the resource module.
#include <vector>

#include "framework/CString.h"
#include "framework/CaseFolding.h"
#include "framework/CStringTable.h"
#include "framework/ResourceModuleWin.h"

// Texts are in the ANSI code page, so its letters (accented ones included)
// are folded by the system's rules for that code page.
void ZvFoldUpper(char* p, size_t n)
{
    if (n) CharUpperBuffA(p, (DWORD)n);
}

void ZvFoldLower(char* p, size_t n)
{
    if (n) CharLowerBuffA(p, (DWORD)n);
}

bool ZvFoldsByteByByte()
{
    CPINFO info{};
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

BOOL CString::LoadString(UINT nID)
{
    Empty();
    HINSTANCE hModule = AfxGetResourceHandle();
    // A string-table entry holds at most 65535 characters.
    for (int size = 256; size <= 65536 * 2; size *= 2) {
        std::vector<char> buf((size_t)size);
        const int n = ::LoadStringA(hModule, nID, buf.data(), size);
        if (n <= 0) break;
        if (n < size - 1) {
            *this = CString(buf.data(), n);
            return TRUE;
        }
    }
    return ZvFindRegisteredString(nID, *this) ? TRUE : FALSE;
}

CString ZvAnsiFromUtf16(const std::u16string& text)
{
    if (text.empty()) return CString();
    const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, w, (int)text.size(), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return CString();
    CString out;
    char* p = out.GetBufferSetLength(n);
    ::WideCharToMultiByte(CP_ACP, 0, w, (int)text.size(), p, n, nullptr, nullptr);
    return out;
}

std::u16string ZvUtf16FromAnsi(const CString& text)
{
    if (text.IsEmpty()) return std::u16string();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string out((size_t)n, u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), reinterpret_cast<wchar_t*>(&out[0]), n);
    return out;
}
