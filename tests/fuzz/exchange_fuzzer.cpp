// libFuzzer target: the bytes as a file to import. Detection, the password
// check (no key, the fixtures' password), every line reader of every format
// and the whole import must stay within the bytes and always move on. What
// was imported must then travel whole: exported plain and with a password
// in every version that holds ten fields, and as export text, and imported
// again, each record comes back with the same fields and notes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/readers/FormatDetect.h"
#include "exchange/readers/ZkvReaders.h"
#include "exchange/writers/ExportWriter.h"

namespace {

void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

const BlowfishKeyPtr& Cipher()
{
    static const BlowfishKeyPtr cipher = MakeBlowfishKey(CSecretString("fixture pw"));
    return cipher;
}

void ReadLines(int format, const std::string& text)
{
    CTextCursor c(text.data(), text.size());
    ExchangeRecord r;
    while (!c.AtEnd()) {
        const size_t before = c.pos;
        r.Clear();
        if (!ParseImportLine(format, c, Cipher().get(), r)) return;
        CHECK(c.pos > before && c.pos <= text.size());
        // The label-value and Yaps records hold one entry per value found.
        const bool open = format == kFormatCryptInfo || format == kFormatMobileSafe || format == kFormatYaps;
        CHECK(open || r.values.GetSize() <= 12);
        CHECK(static_cast<size_t>(r.values.GetSize()) <= c.pos - before + 12);
        CHECK(r.labels.GetSize() <= 10 && r.attachment.GetSize() <= 3);
    }
}

void RoundTrip(CDatabaseObj& db, int format, const BlowfishContext* cipher)
{
    const std::vector<const CRecord*> records = CollectAllRecords(db);
    CExportWriter writer(db, format, cipher);
    std::string text;
    writer.WriteHeader(text);
    writer.WriteRecords(text, records, false, nullptr);
    CDatabaseObj back;
    ImportResult result;
    ImportExchangeText(back, format, text, cipher, CString(), CString(), nullptr, result);
    CHECK(result.malformedLines == 0 && result.skippedLines == 0);
    CHECK(result.imported.size() == records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        for (int f = 0; f < kItemFieldCount; ++f) CHECK(result.imported[i]->GetField(f) == records[i]->GetField(f));
        CHECK(result.imported[i]->GetNotes() == records[i]->GetNotes());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    DetectImportFormat(text.data(), text.size());
    ZkvFileHasPassword(text.data(), text.size());
    CheckZkvFilePassword(text.data(), text.size(), nullptr);
    CheckZkvFilePassword(text.data(), text.size(), Cipher().get());
    for (int format = 0; format <= 14; ++format) ReadLines(format, text);

    const ImportFileCheck check = PrepareImportText(text, kFormatDetect, Cipher());
    if (check.messageId != 0) return 0;
    CDatabaseObj db;
    ImportResult result;
    ImportExchangeText(db, check.format, check.text, check.cipher.get(), CString(), CString(), nullptr, result);
    CHECK(result.imported.size() == static_cast<size_t>(result.records));
    RoundTrip(db, kFormatZkv3, nullptr);
    RoundTrip(db, kFormatZkv4, Cipher().get());
    RoundTrip(db, kFormatExportText, nullptr);
    return 0;
}
