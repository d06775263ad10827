// The name a decrypted attachment is written under.
#include "mainwindow/details/AttachmentFileName.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

bool IsReservedDevice(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    for (char& c : base) c = (char)std::toupper((unsigned char)c);
    static const char* const kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                           "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                           "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    for (const char* device : kDevices)
        if (base == device) return true;
    return false;
}

}  // namespace

CString SafeAttachmentFileName(const CString& name)
{
    std::string text((LPCSTR)name);
    const size_t slash = text.find_last_of("\\/");
    if (slash != std::string::npos) text = text.substr(slash + 1);
    // "C:name" names a file relative to drive C's own current folder.
    const size_t colon = text.find_last_of(':');
    if (colon != std::string::npos) text = text.substr(colon + 1);
    for (char& c : text)
        if ((unsigned char)c < 32 || std::strchr("<>:\"/\\|?*", c)) c = '_';
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
    if (text.empty()) return "attachment";
    if (IsReservedDevice(text)) text = "_" + text;
    return CString(text.c_str());
}
