#pragma once
// Values of the comma-separated exchange texts: the cursor over a text, the
// reading of one value (quoted or bare), the plain and the encrypted
// encodings, and the small line helpers the readers share.
//
// Plain encoding (QuoteCsvField). A value is written bare only when it needs
// nothing: it is quoted when it holds a comma, a double quote, CR, LF or
// 0x0B, or begins or ends with white space (the reader skips white space
// before a value). Inside quotes a double quote is doubled and CR LF is
// written as one 0x0B, as files have always carried it; a lone CR or LF is
// written as it is, which quotes keep; a literal 0x0B is written as 0x1D
// 0x0B, and a CR LF right after a 0x1D is written as it is, so that the pair
// stays unambiguous. Older readers read all of it, except that they take the
// rare literal 0x0B for a line break.
//
// No value is ever shortened: a reader is bounded by its text alone, and
// the writer writes every byte it is given.
#include <cstddef>
#include <string>

#include "core/crypto/Blowfish.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

// A read position in a text of known length; the text may hold any byte.
struct CTextCursor {
    const char* text = nullptr;
    size_t length = 0;
    size_t pos = 0;

    CTextCursor() = default;
    CTextCursor(const char* t, size_t n, size_t p = 0) : text(t), length(n), pos(p < n ? p : n) {}
    bool AtEnd() const { return pos >= length; }
    char Peek() const { return AtEnd() ? '\0' : text[pos]; }
    // At CR, LF or the end of the text: the current line has no more values.
    bool AtLineEnd() const { return AtEnd() || text[pos] == '\r' || text[pos] == '\n'; }
    // Whether the text at the position begins with the zero-terminated prefix.
    bool StartsWith(const char* prefix) const;
};

// Reads one value at the cursor (see the rules at ReadCsvValue in the .cpp).
// False when the value opened a quote that the text never closes; the value
// then holds what followed the quote.
bool ReadCsvValue(CTextCursor& cursor, CString& value);
// Passes every CR and LF at the cursor.
void SkipLineBreaks(CTextCursor& cursor);
// Passes the rest of the current line, value by value (so that a quoted
// value with a line break inside does not end it), then every CR and LF.
void NextLine(CTextCursor& cursor);
// The leading decimal digits of a value (none: 0); more than 16 bits keep
// the low 16, as the unsigned field they are stored in.
WORD ParseDecimalWord(const CString& value);

// The plain encoding of one value, appended to out.
void QuoteCsvField(const CString& text, std::string& out);
// One value of a ZkvFile: plain without a cipher, else its bytes, a NUL and
// zero padding to whole 8-byte blocks, encrypted and written as upper-case
// hexadecimal.
void WriteZkvValue(std::string& out, const BlowfishContext* cipher, const CString& text);
// Upper-case hexadecimal of the bytes, appended.
void AppendHex(std::string& out, const uint8_t* bytes, size_t length);
// Decodes pairs of upper-case hexadecimal digits after leading white space,
// stopping at the first other character; a last odd digit is dropped.
std::string DecodeHex(const CString& text);
// The inverse of WriteZkvValue with a cipher: decrypted text up to its first
// NUL; a value without leading hexadecimal pairs is returned unchanged.
CString DecryptZkvValue(const BlowfishContext* cipher, const CString& value);
// Whole 8-byte blocks of any length (the cipher's calls take 16-bit lengths).
void EncryptBlocks(const BlowfishContext* cipher, uint8_t* bytes, size_t length);
void DecryptBlocks(const BlowfishContext* cipher, uint8_t* bytes, size_t length);
