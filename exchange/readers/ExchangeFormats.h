#pragma once
// The record-exchange texts: format numbers, header lines and the exchange
// record that one reader call yields and one writer call consumes.
#include "framework/CArray.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

// Shared by detection, reading and writing.
enum ImportFormat {
    kFormatDatabase = 0,    // import entry point only, no reader
    kFormatExportText = 1,  // "Zorvikan Export File"
    kFormatZkv1 = 2,        // read only
    kFormatZkv2 = 3,
    kFormatZkv3 = 4,
    kFormatZkv4 = 5,  // also the file inside an exchange folder
    kFormatZkvLater = 6,
    kFormatCryptInfo = 7,
    kFormatTopSecret = 8,
    kFormatYaps = 9,
    kFormatMobileSafe = 10,
    kFormatEWallet = 11,
    kFormatOnePassword = 12,
    kFormatDetect = 13,
    kFormatNotText = 14,
};

inline bool IsZkvFormat(int format) { return format >= kFormatZkv1 && format <= kFormatZkv4; }

extern const char kZkvHeaderPrefix[];     // "Zorvikan Zkv File"
extern const char kExportTextHeader[];    // "Zorvikan Export File"
extern const char* const kZkvHeaders[4];  // "Zorvikan Zkv File -v1.0" .. "-v4.0"
extern const char kZkvCheckPlaintext[];   // the 40 characters of the check line
constexpr int kZkvCheckPlaintextLength = 40;
extern const char kUnfiledName[];  // "Unfiled" (string 2111)
constexpr WORD kUnfiledTypeIcon = 24;

// The header line of a ZkvFile format (2 to 5); null for any other.
const char* ZkvHeaderOf(int format);

// One line of exchange text.
struct ExchangeRecord {
    bool isType = false;
    WORD icon = 0;
    // Type line: name, then labels. Record line: fields 1 to 10, then the
    // notes as the last entry. Export text: type name, fields, notes.
    CStringArray values;
    WORD mask = 0;
    CStringArray labels;
    CString category;
    // Version 4.0 records: none, or name, key and stored file base name.
    CStringArray attachment;
    // The line was cut short, held an unterminated quote or otherwise could
    // not be read whole; what it held is not to be used.
    bool malformed = false;

    // Everything but the lists, which the readers append to.
    void ClearScalars()
    {
        isType = false;
        icon = 0;
        mask = 0;
        category.Empty();
        malformed = false;
    }
    void Clear()
    {
        ClearScalars();
        values.RemoveAll();
        labels.RemoveAll();
        attachment.RemoveAll();
    }
};
