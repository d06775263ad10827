#pragma once
// Deciding what a text is, and whether a file password opens it.
#include <cstddef>

#include "core/crypto/Blowfish.h"

// The format of the raw bytes of a file (ImportFormat): 14 when they are not
// text - a NUL anywhere, or within the first 512 bytes any byte other than
// 9 to 13, 29 and 32 to 255 -, else by the header at the start: 2 to 5 the
// ZkvFile versions, 6 a later one, 1 export text, 7 CryptInfo, 9 Yaps, 10
// MobileSafe, and 13 (read as export text) for anything else.
int DetectImportFormat(const char* bytes, size_t length);
// -1 when the text does not begin with one of the four ZkvFile headers; 0
// when its check line is "F" or the cipher decrypts it to the check text;
// 1 when it is protected and no cipher is given or the cipher does not match.
int CheckZkvFilePassword(const char* text, size_t length, const BlowfishContext* cipher);
// Whether the value at the start of the second line begins with "T".
bool ZkvFileHasPassword(const char* text, size_t length);
