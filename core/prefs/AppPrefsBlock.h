#pragma once
// The form in which the preferences file keeps a block of bytes: each byte as
// two upper-case hexadecimal digits, then one more byte, the sum of all bytes
// modulo 256, as two digits.
#include <cstddef>

#include "framework/CString.h"

// Largest block the preferences keep (the hint buffers are the biggest); a
// length read from the file above it is treated as damaged.
const int kMaxPrefsBlockSize = 8192;

CString EncodePrefsBlock(const void* data, size_t size);

// Decodes text holding exactly 2 * size + 2 hexadecimal digits (either case)
// whose checksum matches. False, and out unchanged, for anything else.
bool DecodePrefsBlock(const char* text, void* out, size_t size);
