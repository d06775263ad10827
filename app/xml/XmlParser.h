#pragma once
// Reading the program's XML files: bytes in UTF-16 (either byte order, by
// the byte-order mark or the first character) or UTF-8 parsed into nodes.
// Only what these files hold is accepted: no document types or entities.
#include <string>

#include "app/xml/XmlDocument.h"

// Appends the top-level nodes of the bytes to document. False for text that
// is not well-formed XML or not in a known encoding; document may then hold
// part of it.
bool ParseXmlBytes(const std::string& bytes, const CXmlNodePtr& document);
