#include "core/os/FileUtils.h"

#include <string>

#include "core/os/FileSystemOs.h"
#include "core/os/PathUtils.h"

namespace {

std::string ToStd(const CString& s)
{
    return std::string(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
}

}  // namespace

CString GetAppDirectory()
{
    CString path(zvos::ExecutablePath().c_str());
    CString folder;
    SplitPath(path, &folder, true);
    return folder;
}

CString GetCurrentDirectoryPath() { return CString(zvos::CurrentDirectory().c_str()); }

bool FileExists(const CString& path) { return zvos::AccessExists(ToStd(path)); }

bool PathExists(const CString& path) { return zvos::HasAttributes(ToStd(path)); }

int CreateFolderPath(const CString& path)
{
    const std::string p = ToStd(path);
    for (size_t pos = p.find('\\'); pos != std::string::npos; pos = p.find('\\', pos + 1)) {
        const std::string prefix = p.substr(0, pos);
        if (prefix.empty()) continue;
        // A network path's server name is no folder: start at its share.
        if (prefix.compare(0, 2, "\\\\") == 0 && !(prefix.size() > 2 && prefix.find('\\', 2) != std::string::npos))
            continue;
        if (!zvos::AccessExists(prefix)) {
            int err = zvos::MakeDirectory(prefix);
            if (err != 0) return err;
        }
    }
    if (zvos::AccessExists(p)) return 0;
    return zvos::MakeDirectory(p);
}

unsigned int GetFileSizeOfPath(const CString& path)
{
    uint32_t size = 0;
    return zvos::QueryFileSize(ToStd(path), size) ? size : 0;
}

int ReadTextFile(const CString& path, CString& text)
{
    std::string p = ToStd(path);
    size_t first = p.find_first_not_of('"');
    p = first == std::string::npos ? std::string() : p.substr(first);
    while (!p.empty() && p.back() == '"') p.pop_back();
    std::string bytes;
    int result = zvos::ReadWholeFile(p, bytes);
    text = CString(bytes.c_str());  // ends at the first zero byte
    return result;
}

CString FormatFileSizeText(const CString& path)
{
    uint32_t size = 0;
    if (zvos::AccessExists(ToStd(path)) && !zvos::QueryFileSize(ToStd(path), size)) size = 0;
    return FormatByteSizeText(size);
}
