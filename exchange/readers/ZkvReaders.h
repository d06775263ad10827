#pragma once
// The readers of the record-exchange texts: one call reads one line into an
// exchange record. A reader reads a line's values only while the line goes
// on; a line that ends where its layout still wants a value is marked
// malformed instead of taking the value from the next line.
//
// A line may stop early in two places, as older files have them: a type or
// record line after its field values (before the mask), and a record line
// after its category (its notes then are empty). Anywhere else a short line
// is malformed.
#include "core/crypto/Blowfish.h"
#include "exchange/readers/ExchangeFormats.h"
#include "exchange/readers/ExchangeValues.h"

// A header (and its check line) counts only as the text's first lines: the
// readers pass it at the start of the text and nowhere else.
//
// Clears the record's scalars and dispatches by format: 1 and 13 export
// text, 2 to 5 the ZkvFile versions, 7 to 12 other programs' exports (one
// record per call, exchange/others/OtherReaders.h). False for a format without a reader
// here (the cursor does not move). Values are appended to the record's
// lists. The cursor ends at the start of the next line.
bool ParseImportLine(int format, CTextCursor& cursor, const BlowfishContext* cipher, ExchangeRecord& record);
// ZkvFile versions 1.0 (format 2) to 4.0 (format 5).
void ParseZkvLine(int format, CTextCursor& cursor, const BlowfishContext* cipher, ExchangeRecord& record);
// Export text (format 1): up to 12 values, then the category.
void ParseExportTextLine(CTextCursor& cursor, ExchangeRecord& record);
// Where the lines of values start: past the header lines the reader of the
// format passes at the start of the text, or 0.
size_t ExchangeHeaderEnd(int format, const char* text, size_t length);
