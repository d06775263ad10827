#pragma once
// Expected file bytes built by hand: UTF-16LE with a byte-order mark.
#include <string>

#include "app/xml/XmlDocument.h"

inline std::string Utf16File(const std::u16string& text) { return "\xFF\xFE" + Utf16LeBytes(text); }
