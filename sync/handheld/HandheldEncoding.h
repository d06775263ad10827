#pragma once
// The handheld database's text encodings of keys and dates.
#include <cstdint>

#include "core/items/UniqueKey.h"
#include "framework/CString.h"

// The 16 hexadecimal digits of a key, first byte first. Only upper-case
// digits are understood: any other character counts as 0. False (and the
// null key) unless the text has exactly 16 characters.
bool HexToBytes8(const char* text, uint8_t key[kUniqueKeySize]);

// The handheld's "YYYY-MM-DD hh:mm:ss +0000" as the desktop's "Month DD,
// YYYY"; an empty text stays empty.
CString HandheldDateToDesktop(const CString& text);
// The other way round; an empty text stays empty.
CString DesktopDateToHandheld(const CString& text);
