// Format detection and the password-check line.
#include "exchange/readers/FormatDetect.h"

#include <cstring>

#include "exchange/readers/ExchangeFormats.h"
#include "exchange/readers/ExchangeValues.h"

namespace {

const size_t kDetectBytes = 512;
// The check line's hexadecimal part is read no further than this.
const size_t kCheckLineMax = 200;

bool IsTextByte(unsigned char b) { return (b >= 9 && b <= 13) || b == 29 || b >= 32; }

// The cursor at the start of the second line.
CTextCursor SecondLine(const char* text, size_t length)
{
    CTextCursor c(text, length);
    while (!c.AtLineEnd()) ++c.pos;
    SkipLineBreaks(c);
    return c;
}

}  // namespace

int DetectImportFormat(const char* bytes, size_t length)
{
    if (!bytes) return kFormatNotText;
    if (std::memchr(bytes, 0, length)) return kFormatNotText;
    const size_t head = length < kDetectBytes ? length : kDetectBytes;
    for (size_t i = 0; i < head; ++i)
        if (!IsTextByte(static_cast<unsigned char>(bytes[i]))) return kFormatNotText;
    CTextCursor c(bytes, length);
    if (c.StartsWith(kZkvHeaderPrefix)) {
        for (int v = 0; v < 4; ++v)
            if (c.StartsWith(kZkvHeaders[v])) return kFormatZkv1 + v;
        return kFormatZkvLater;
    }
    if (c.StartsWith(kExportTextHeader)) return kFormatExportText;
    if (c.StartsWith("CryptInfo Export")) return kFormatCryptInfo;
    if (c.StartsWith("#Yaps Data")) return kFormatYaps;
    if (c.StartsWith("Mobile AM Export:")) return kFormatMobileSafe;
    return kFormatDetect;
}

bool ZkvFileHasPassword(const char* text, size_t length)
{
    if (!text) return false;
    CTextCursor c = SecondLine(text, length);
    CString flag;
    ReadCsvValue(c, flag);
    return flag.GetLength() > 0 && flag[0] == 'T';
}

int CheckZkvFilePassword(const char* text, size_t length, const BlowfishContext* cipher)
{
    if (!text) return -1;
    CTextCursor start(text, length);
    bool known = false;
    for (const char* header : kZkvHeaders) known = known || start.StartsWith(header);
    if (!known) return -1;
    CTextCursor c = SecondLine(text, length);
    CString flag;
    ReadCsvValue(c, flag);
    if (flag.GetLength() == 0 || flag[0] != 'T') return 0;
    if (!cipher) return 1;
    size_t end = c.pos;
    while (end < length && end - c.pos < kCheckLineMax && text[end] != '\r' && text[end] != '\n') ++end;
    std::string bytes = DecodeHex(CString(text + c.pos, static_cast<int>(end - c.pos)));
    DecryptBlocks(cipher, reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size());
    const size_t n = bytes.find('\0');
    const std::string plain = bytes.substr(0, n);
    return plain == kZkvCheckPlaintext ? 0 : 1;
}
