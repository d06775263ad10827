#pragma once
// Import of exchange text into a database, without windows: reading the
// file and settling its format and password (PrepareImportFile), the file
// password (OpenWithFilePassword), and the worker that adds the types,
// categories, records and attachment files (ImportExchangeText). The main
// view's commands only ask the user, call these and show what they return.
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "core/crypto/SecretString.h"
#include "exchange/readers/ExchangeFormats.h"
#include "framework/CString.h"

class CDatabaseObj;
class CNotifyProviderList;
class CRecord;

// What reading a file to import found.
struct ImportFileCheck {
    // 0: ready to import; else the message to show (ExchangeIds.h: 605
    // unreadable, 606 not text, 180 a later ZkvFile, 609 a format without a
    // reader here).
    unsigned messageId = 0;
    int format = 0;
    // The file's bytes.
    std::string text;
    // The file is protected and the master key does not open it: ask for
    // its password (OpenWithFilePassword) and import with what that gives.
    bool needsPassword = false;
    // The cipher to read with: the master key when it opens the file, else
    // none.
    BlowfishKeyPtr cipher;
};

// Reads the file whole and settles format and password. format 13 decides
// from the content; a file whose bytes are not text is refused whatever
// format was asked for. masterKey may be null.
ImportFileCheck PrepareImportFile(const CString& path, int format, const BlowfishKeyPtr& masterKey);
// The same over bytes already read.
ImportFileCheck PrepareImportText(std::string bytes, int format, const BlowfishKeyPtr& masterKey);

// A cipher keyed with the password when it opens the text; else null and
// messageId 608 (the caller asks again). An empty password opens only a
// text without a password, and gives no cipher.
BlowfishKeyPtr OpenWithFilePassword(const std::string& text, const CSecretString& password, unsigned& messageId);

// What one import did.
struct ImportResult {
    int records = 0;
    int types = 0;
    int categories = 0;
    int attachmentsCopied = 0;
    // Lines that held something but no values (left out; the import goes on).
    int skippedLines = 0;
    // Lines cut short or otherwise damaged: nothing of them is imported.
    int malformedLines = 0;
    // The first line of a comma-separated text was the program's own column
    // title row; titleRowLine is its line number.
    bool titleRowSkipped = false;
    int titleRowLine = 0;
    // The line numbers (from 1, where the line's text starts) of the first
    // kReportedLines skipped and damaged lines.
    static const size_t kReportedLines = 10;
    std::vector<int> skippedAt;
    std::vector<int> malformedAt;
    // The records added, in file order (the database owns them).
    std::vector<CRecord*> imported;

    // A sentence for each kind of line that was left out, with the line
    // numbers, one per line; empty when nothing was.
    CString LeftOutText() const;
    // "%d item(s) were imported." and LeftOutText below it.
    CString ReportText() const;
};

// Adds what the text holds to the database (in memory; the caller saves).
// sourcePath names the imported file (empty for the clipboard); with format
// 5 the stored attachment files are copied from the "Files" folder beside
// it into attachmentsFolder (empty: no copies). Change notices of every
// item added go to notices (may be null).
void ImportExchangeText(CDatabaseObj& db, int format, const std::string& text, const BlowfishContext* cipher,
                        const CString& sourcePath, const CString& attachmentsFolder, CNotifyProviderList* notices,
                        ImportResult& result);
