// The fixed texts of the exchange formats.
#include "exchange/readers/ExchangeFormats.h"

const char kZkvHeaderPrefix[] = "Zorvikan Zkv File";
const char kExportTextHeader[] = "Zorvikan Export File";
const char* const kZkvHeaders[4] = {"Zorvikan Zkv File -v1.0", "Zorvikan Zkv File -v2.0", "Zorvikan Zkv File -v3.0",
                                    "Zorvikan Zkv File -v4.0"};
const char kZkvCheckPlaintext[] = "Zorvikan record exchange file check line";
const char kUnfiledName[] = "Unfiled";

static_assert(sizeof(kZkvCheckPlaintext) == kZkvCheckPlaintextLength + 1, "the check text has 40 characters");

const char* ZkvHeaderOf(int format) { return IsZkvFormat(format) ? kZkvHeaders[format - kFormatZkv1] : nullptr; }
