#pragma once
// The writers of the record-exchange texts. Each appends to a growing text,
// so nothing written is ever bounded by an estimate of its size.
#include <string>

#include "core/crypto/Blowfish.h"
#include "exchange/readers/ExchangeFormats.h"

// Formats 2 to 5: the header line and the password-check line; any other:
// "Zorvikan Export File". Lines end in CR LF.
void WriteZkvHeader(int format, std::string& out, const BlowfishContext* cipher);
// "T," and the 80 hexadecimal digits of the encrypted check text with a
// cipher, else "F"; then CR LF.
void WritePasswordCheckLine(std::string& out, const BlowfishContext* cipher);
// Format 4: the version 3.0 header, 5 the version 4.0 one, else the export
// text header; then "F". Clipboard text is never encrypted.
void WriteClipboardHeader(int format, std::string& out);
// A type line: values are the name and then the labels.
void WriteTypeLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                   WORD icon);
// Formats 2 to 5: a ZkvFile record line; format 1: an export-text line.
// values: format 1 the type name, fields 1 to 10 and the notes; others the
// fields 1 to 10 and the notes (the entry after the tenth field).
void WriteRecordLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                     const CStringArray& labels, const CString& category, const CStringArray& attachment, WORD icon);
// One ZkvFile line in the layout of its version.
void WriteZkvLine(std::string& out, int format, const BlowfishContext* cipher, const CStringArray& values, WORD mask,
                  const CStringArray& labels, const CString& category, const CStringArray& attachment, WORD icon,
                  bool isType);
// One export-text line: every value, then the category; never encrypted.
void WriteCsvLine(std::string& out, const CStringArray& values, const CString& category);
