// Reading and writing one exchange value.
#include "exchange/readers/ExchangeValues.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/crypto/SecureZero.h"

namespace {

const char kVerticalTab = '\x0B';
// Marks a literal 0x0B inside a quoted value (see the header).
const char kLiteralMark = '\x1D';

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\x0B' || c == '\f' || c == '\r' || c == '\n'; }
bool IsBlankInLine(char c) { return c == ' ' || c == '\t' || c == '\x0B' || c == '\f'; }

// Largest whole-block length the cipher's 16-bit calls take.
const size_t kCipherChunk = 0xFFF8;

}  // namespace

bool CTextCursor::StartsWith(const char* prefix) const
{
    const size_t n = std::strlen(prefix);
    return length - pos >= n && std::memcmp(text + pos, prefix, n) == 0;
}

// 1. Blanks (blank, tab, 0x0B, form feed) before the value are passed; a
//    line end is not, so a value is never taken from the next line.
// 2. Quoted: up to the next double quote that is not doubled; a doubled one
//    gives one quote; commas and line breaks inside belong to the value;
//    0x0B gives CR LF, 0x1D 0x0B a literal 0x0B. Anything between the
//    closing quote and the next comma or line end is dropped.
// 3. Bare: up to the first comma, CR, LF or the end; a doubled quote gives
//    one quote; 0x0B gives CR LF.
// 4. A comma that ends the value is consumed, then blanks other than CR and
//    LF; a line end is left for the caller to see.
bool ReadCsvValue(CTextCursor& c, CString& value)
{
    value.Empty();
    while (!c.AtEnd() && IsBlankInLine(c.text[c.pos])) ++c.pos;
    std::string out;
    bool closed = true;
    if (c.Peek() == '"') {
        ++c.pos;
        closed = false;
        while (!c.AtEnd()) {
            const char ch = c.text[c.pos++];
            if (ch == '"') {
                if (c.Peek() == '"') {
                    out += '"';
                    ++c.pos;
                    continue;
                }
                closed = true;
                break;
            }
            if (ch == kLiteralMark && c.Peek() == kVerticalTab) {
                out += kVerticalTab;
                ++c.pos;
            } else if (ch == kVerticalTab) {
                out += "\r\n";
            } else {
                out += ch;
            }
        }
        while (closed && !c.AtLineEnd() && c.text[c.pos] != ',') ++c.pos;
    } else {
        // A bare value without quotes or 0x0B is taken as it stands.
        size_t end = c.pos;
        while (end < c.length) {
            const char ch = c.text[end];
            if (ch == ',' || ch == '\r' || ch == '\n' || ch == '"' || ch == kVerticalTab) break;
            ++end;
        }
        out.assign(c.text + c.pos, end - c.pos);
        c.pos = end;
        while (!c.AtLineEnd() && c.text[c.pos] != ',') {
            const char ch = c.text[c.pos++];
            if (ch == '"' && c.Peek() == '"') {
                out += '"';
                ++c.pos;
            } else if (ch == kVerticalTab) {
                out += "\r\n";
            } else {
                out += ch;
            }
        }
    }
    if (c.Peek() == ',') {
        ++c.pos;
        while (!c.AtEnd() && IsBlankInLine(c.text[c.pos])) ++c.pos;
    }
    value = CString(std::move(out));
    return closed;
}

void SkipLineBreaks(CTextCursor& c)
{
    while (!c.AtEnd() && (c.text[c.pos] == '\r' || c.text[c.pos] == '\n')) ++c.pos;
}

void NextLine(CTextCursor& c)
{
    CString ignored;
    while (!c.AtLineEnd()) {
        const size_t before = c.pos;
        ReadCsvValue(c, ignored);
        if (c.pos == before) ++c.pos;  // cannot happen; never loop in place
    }
    SkipLineBreaks(c);
}

WORD ParseDecimalWord(const CString& value)
{
    unsigned result = 0;
    for (int i = 0; i < value.GetLength(); ++i) {
        const char ch = value[i];
        if (ch < '0' || ch > '9') break;
        result = (result * 10 + static_cast<unsigned>(ch - '0')) & 0xFFFFu;
    }
    return static_cast<WORD>(result);
}

void QuoteCsvField(const CString& text, std::string& out)
{
    const std::string& s = text.Std();
    bool quote = !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
    for (size_t i = 0; !quote && i < s.size(); ++i) {
        const char ch = s[i];
        quote = ch == ',' || ch == '"' || ch == '\r' || ch == '\n' || ch == kVerticalTab;
    }
    if (!quote) {
        out += s;
        return;
    }
    out += '"';
    for (size_t i = 0; i < s.size(); ++i) {
        const char ch = s[i];
        if (ch == '"') {
            out += "\"\"";
        } else if (ch == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            // After the mark a 0x0B would read as a literal one.
            if (i > 0 && s[i - 1] == kLiteralMark)
                out += "\r\n";
            else
                out += kVerticalTab;
            ++i;
        } else if (ch == kVerticalTab) {
            out += kLiteralMark;
            out += kVerticalTab;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void AppendHex(std::string& out, const uint8_t* bytes, size_t length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const size_t at = out.size();
    out.resize(at + 2 * length);
    char* p = &out[at];
    for (size_t i = 0; i < length; ++i) {
        *p++ = kDigits[bytes[i] >> 4];
        *p++ = kDigits[bytes[i] & 15];
    }
}

void EncryptBlocks(const BlowfishContext* cipher, uint8_t* bytes, size_t length)
{
    for (size_t done = 0; done + 8 <= length;) {
        const size_t n = std::min(kCipherChunk, (length - done) & ~size_t(7));
        BlowfishEncryptECB(cipher, bytes + done, bytes + done, static_cast<uint16_t>(n));
        done += n;
    }
}

void DecryptBlocks(const BlowfishContext* cipher, uint8_t* bytes, size_t length)
{
    for (size_t done = 0; done + 8 <= length;) {
        const size_t n = std::min(kCipherChunk, (length - done) & ~size_t(7));
        BlowfishDecryptECB(cipher, bytes + done, bytes + done, static_cast<uint16_t>(n));
        done += n;
    }
}

void WriteZkvValue(std::string& out, const BlowfishContext* cipher, const CString& text)
{
    if (!cipher) {
        QuoteCsvField(text, out);
        return;
    }
    const size_t length = static_cast<size_t>(text.GetLength());
    const size_t padded = length / 8 * 8 + 8;
    // Most values fit the stack; longer ones take the heap.
    uint8_t small[256];
    std::vector<uint8_t> large;
    uint8_t* block = small;
    if (padded > sizeof small) {
        large.resize(padded);
        block = large.data();
    }
    std::memcpy(block, text.GetString(), length);
    std::memset(block + length, 0, padded - length);
    EncryptBlocks(cipher, block, padded);
    AppendHex(out, block, padded);
    SecureZero(block, padded);
}

std::string DecodeHex(const CString& text)
{
    const std::string& s = text.Std();
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    auto digit = [](char ch) -> int {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        return -1;
    };
    std::string bytes;
    bytes.reserve((s.size() - i) / 2);
    for (; i + 1 < s.size(); i += 2) {
        const int high = digit(s[i]), low = digit(s[i + 1]);
        if (high < 0 || low < 0) break;
        bytes += static_cast<char>(high << 4 | low);
    }
    return bytes;
}

CString DecryptZkvValue(const BlowfishContext* cipher, const CString& value)
{
    std::string bytes = DecodeHex(value);
    if (bytes.empty()) return value;
    DecryptBlocks(cipher, reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size());
    const size_t end = bytes.find('\0');
    if (end != std::string::npos) {
        SecureZero(&bytes[end], bytes.size() - end);
        bytes.resize(end);
    }
    // The buffer itself becomes the text: no copy is left behind.
    return CString(std::move(bytes));
}
