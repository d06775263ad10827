// libFuzzer target: the readers of other programs' text exports. The first
// byte picks the reader (CryptInfo, TopSecret, Yaps, MobileSafe, eWallet,
// 1Password by its value modulo 6); the rest is the text. Every reader must
// stay within the text and always move on, give the entries its layout
// promises, and the import of the text must end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/readers/ZkvReaders.h"

namespace {

void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

void ReadRecords(int format, const std::string& text)
{
    CTextCursor c(text.data(), text.size());
    ExchangeRecord r;
    while (!c.AtEnd()) {
        const size_t before = c.pos;
        r.Clear();
        CHECK(ParseImportLine(format, c, nullptr, r));
        CHECK(c.pos > before && c.pos <= text.size());
        const INT_PTR n = r.values.GetSize();
        CHECK(static_cast<size_t>(n) <= c.pos - before + 12);
        if (n == 0) continue;
        if (format == kFormatTopSecret) CHECK(n == 8);
        if (format == kFormatOnePassword) CHECK(n == 12 && r.icon == 24 && r.category == "1Password");
        if (format == kFormatEWallet) CHECK(n <= 12);
        CHECK(r.labels.GetSize() == 0 && r.attachment.GetSize() == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const int format = kFormatCryptInfo + data[0] % 6;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    ReadRecords(format, text);
    CDatabaseObj db;
    ImportResult result;
    ImportExchangeText(db, format, text, nullptr, CString(), CString(), nullptr, result);
    CHECK(result.imported.size() == static_cast<size_t>(result.records));
    return 0;
}
