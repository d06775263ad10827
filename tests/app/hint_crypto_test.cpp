// The hint's buffer form against buffers made independently with OpenSSL
// (tests/fixtures/hint/README).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/logon/PasswordHint.h"
#include "tests/support/ScratchDir.h"

namespace {

std::vector<BYTE> Fixture(const char* name)
{
    std::string bytes = zvtest::ReadFileBytes(zvtest::FixturePath(std::string("hint/") + name));
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

struct Case {
    const char* key;
    const char* text;
    const char* fixture;
    size_t size;
};
const Case kCases[] = {
    {"No answer yet", "Seventeen chars!!", "fallback_17.bin", 33},
    {"No answer yet", "The 33-byte hint text, it is this", "fallback_33.bin", 49},
    {"Smith", "Sixteen chars!!!", "smith_hint_16.bin", 17},
    {"Smith", "What is your mother's maiden name?", "smith_question_2.bin", 49},
    {"ThisAnswerIsLongerThan16", "my dog", "long_answer_hint.bin", 17},
    {"Smith", "", "empty.bin", 1},
};

TEST(HintCryptoTest, EncryptsToTheFixtures)
{
    for (const auto& c : kCases) {
        std::vector<BYTE> expected = Fixture(c.fixture);
        ASSERT_EQ(expected.size(), c.size) << c.fixture;
        std::vector<BYTE> buffer = CPasswordHint::EncryptText(c.key, c.text);
        EXPECT_EQ(buffer, expected) << c.fixture;
        // The last byte is the plain terminator.
        ASSERT_FALSE(buffer.empty());
        EXPECT_EQ(buffer.back(), 0);
    }
}

TEST(HintCryptoTest, DecryptsTheFixtures)
{
    for (const auto& c : kCases) {
        std::vector<BYTE> buffer = Fixture(c.fixture);
        EXPECT_STREQ(CPasswordHint::DecryptText(c.key, buffer.data(), (int)buffer.size()), c.text) << c.fixture;
    }
}

TEST(HintCryptoTest, EveryByteOfTheTextIsEncrypted)
{
    // The plain text must not show in the buffer, not even its short last block.
    for (size_t n : {1u, 15u, 16u, 17u, 31u, 32u, 33u, 100u}) {
        std::string text(n, 'Q');
        std::vector<BYTE> buffer = CPasswordHint::EncryptText("key", CString(text));
        ASSERT_EQ(buffer.size(), 16 * ((n + 15) / 16) + 1) << n;
        size_t plainRun = 0, longest = 0;
        for (BYTE b : buffer) {
            plainRun = b == 'Q' ? plainRun + 1 : 0;
            longest = plainRun > longest ? plainRun : longest;
        }
        EXPECT_LT(longest, 4u) << n;
        EXPECT_STREQ(CPasswordHint::DecryptText("key", buffer.data(), (int)buffer.size()), text.c_str()) << n;
    }
}

TEST(HintCryptoTest, OnlyTheFirstSixteenKeyBytesCount)
{
    std::vector<BYTE> buffer = Fixture("long_answer_hint.bin");
    EXPECT_STREQ(CPasswordHint::DecryptText("ThisAnswerIsLongXYZ", buffer.data(), (int)buffer.size()), "my dog");
    EXPECT_STRNE(CPasswordHint::DecryptText("ThisAnswerIsLon", buffer.data(), (int)buffer.size()), "my dog");
}

TEST(HintCryptoTest, ShortOrMissingBuffersReadAsEmpty)
{
    std::vector<BYTE> buffer = Fixture("fallback_17.bin");
    EXPECT_STREQ(CPasswordHint::DecryptText("No answer yet", nullptr, 33), "");
    EXPECT_STREQ(CPasswordHint::DecryptText("No answer yet", buffer.data(), 0), "");
    EXPECT_STREQ(CPasswordHint::DecryptText("No answer yet", buffer.data(), 15), "");
    // Only whole blocks are read: 17 bytes are the first block.
    EXPECT_STREQ(CPasswordHint::DecryptText("No answer yet", buffer.data(), 17), "Seventeen chars!");
}

TEST(HintCryptoTest, AZeroByteInABlockCutsThatBlockOnly)
{
    // Block 1 decrypts to "ab" then zeros; block 2 is "cd": the text joins them.
    std::vector<BYTE> first = CPasswordHint::EncryptText("k", "ab");
    std::vector<BYTE> second = CPasswordHint::EncryptText("k", "cd");
    std::vector<BYTE> joined(first.begin(), first.begin() + 16);
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_STREQ(CPasswordHint::DecryptText("k", joined.data(), (int)joined.size()), "abcd");
}

}  // namespace
