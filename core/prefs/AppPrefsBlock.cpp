#include "core/prefs/AppPrefsBlock.h"

#include <cstring>
#include <vector>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

CString EncodePrefsBlock(const void* data, size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    CString text;
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
        sum += bytes[i];
    }
    text += digits[(sum >> 4) & 15];
    text += digits[sum & 15];
    return text;
}

bool DecodePrefsBlock(const char* text, void* out, size_t size)
{
    if (!text || (!out && size > 0)) return false;
    if (std::strlen(text) != 2 * size + 2) return false;
    std::vector<unsigned char> bytes(size + 1);
    for (size_t i = 0; i <= size; ++i) {
        int high = HexValue(text[2 * i]);
        int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = (unsigned char)(high * 16 + low);
    }
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[size]) return false;
    if (size > 0) std::memcpy(out, bytes.data(), size);
    return true;
}
