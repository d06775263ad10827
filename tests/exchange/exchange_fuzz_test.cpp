// Damaged exchange texts of every version, from a fixed seed: cuts, byte
// flips, inserted quotes, commas and line breaks, spliced runs. Detection,
// the password check, every reader and the whole import must end cleanly -
// never a crash, a read past the text or a loop in place (the sanitizer
// build watches the first two).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/store/DatabaseObj.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/readers/FormatDetect.h"
#include "exchange/readers/ZkvReaders.h"
#include "tests/exchange/ExchangeTestSupport.h"

namespace {

const char* const kFixtures[] = {"v1_plain.zkv",    "v1_password.zkv", "v2_plain.zkv",
                                 "v2_password.zkv", "v3_plain.zkv",    "v3_password.zkv",
                                 "v4_plain.zkv",    "v4_password.zkv", "export_text.csv"};

// Bytes that mean something to the readers of the program's own texts, and
// to those of other programs' exports.
const std::string kZkvSpecial = {'"', ',', '\r', '\n', '\x0B', '\x1D', 'T', 'F', '0', 'A'};
const std::string kOtherSpecial = {'#', ':', '\t', '\r', '\n', ',', '"', ' ', 'C', 'N'};

std::string Mutate(std::string bytes, std::mt19937& rng, const std::string& special = kZkvSpecial)
{
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        switch (rng() % 6) {
        case 0: bytes.resize(pick(bytes.size())); break;
        case 1: bytes[pick(bytes.size())] ^= static_cast<char>(1 + rng() % 255); break;
        case 2: bytes.insert(pick(bytes.size() + 1), 1, special[pick(special.size())]); break;
        case 3: bytes.erase(pick(bytes.size()), 1 + pick(8)); break;
        case 4: {
            const size_t from = pick(bytes.size()), at = pick(bytes.size());
            bytes.insert(at, bytes.substr(from, 1 + pick(40)));
            break;
        }
        default: bytes[pick(bytes.size())] = special[pick(special.size())]; break;
        }
    }
    return bytes;
}

// Runs one text through everything that reads exchange text.
void ReadEverything(const std::string& text)
{
    DetectImportFormat(text.data(), text.size());
    ZkvFileHasPassword(text.data(), text.size());
    const BlowfishKeyPtr cipher = zvtest::FixtureCipher();
    CheckZkvFilePassword(text.data(), text.size(), cipher.get());
    CheckZkvFilePassword(text.data(), text.size(), nullptr);
    for (int format = 0; format <= 14; ++format) {
        CTextCursor c(text.data(), text.size());
        ExchangeRecord r;
        int lines = 0;
        while (!c.AtEnd()) {
            const size_t before = c.pos;
            r.Clear();
            if (!ParseImportLine(format, c, cipher.get(), r)) break;
            ASSERT_GT(c.pos, before) << "format " << format;
            ASSERT_LE(c.pos, text.size());
            // The label-value and Yaps records hold one entry per value
            // found; every other reader at most twelve.
            if (format != kFormatCryptInfo && format != kFormatMobileSafe && format != kFormatYaps) {
                ASSERT_LE(r.values.GetSize(), 12);
            }
            ASSERT_LE(static_cast<size_t>(r.values.GetSize()), c.pos - before + 12);
            ASSERT_LE(r.labels.GetSize(), 10);
            ASSERT_LE(r.attachment.GetSize(), 3);
            ASSERT_LT(++lines, 100000);
        }
    }
    for (int format : {kFormatDetect, kFormatZkv1, kFormatZkv2, kFormatZkv3, kFormatZkv4, kFormatCryptInfo,
                       kFormatTopSecret, kFormatYaps, kFormatMobileSafe, kFormatEWallet, kFormatOnePassword}) {
        const ImportFileCheck check = PrepareImportText(text, format, cipher);
        if (check.messageId) continue;
        CDatabaseObj db;
        ImportResult result;
        ImportExchangeText(db, check.format, check.text, check.cipher.get(), CString(), CString(), nullptr, result);
        ASSERT_LE(result.records + result.malformedLines + result.skippedLines, 100000);
    }
}

TEST(ExchangeFuzz, DamagedTextsOfEveryVersionEndCleanly)
{
    std::mt19937 rng(20261211);
    for (const char* name : kFixtures) {
        const std::string original = zvtest::ExchangeFixture(name);
        ASSERT_FALSE(original.empty()) << name;
        for (int round = 0; round < 80; ++round) {
            SCOPED_TRACE(testing::Message() << name << " round " << round);
            ReadEverything(Mutate(original, rng));
            if (HasFatalFailure()) return;
        }
    }
}

// The sample exports of the six other programs, damaged the same way.
TEST(ExchangeFuzz, DamagedExportsOfOtherProgramsEndCleanly)
{
    const char* const samples[] = {"cryptinfo.txt", "mobilesafe.txt", "ewallet.txt",     "topsecret.csv",
                                   "yaps.txt",      "1password.txt",  "1password_cr.txt"};
    std::mt19937 rng(20261212);
    for (const char* name : samples) {
        const std::string original = zvtest::ExchangeFixture(std::string("others/") + name);
        ASSERT_FALSE(original.empty()) << name;
        for (int round = 0; round < 150; ++round) {
            SCOPED_TRACE(testing::Message() << name << " round " << round);
            ReadEverything(Mutate(original, rng, kOtherSpecial));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(ExchangeFuzz, FoundInputs)
{
    // Inputs that once went wrong, kept as they were found.
    const std::string found[] = {
        "",
        "\"",
        ",",
        "\r\n\r\n",
        "Zorvikan Zkv File -v4.0",
        "Zorvikan Zkv File -v4.0\r\nT,",
        "Zorvikan Zkv File -v3.0\r\nF\r\nF,1,\"\"\"",
        "Zorvikan Zkv File -v1.0\r\nF\r\nT\r\nF,\r\n",
    };
    for (const std::string& text : found) ReadEverything(text);
}

}  // namespace
