// The field cipher and the text encodings of the handheld database, against
// vectors computed by tests/fixtures/handheld/make_fixtures.py with its own
// Blowfish (checked there against the published vectors).
#include <gtest/gtest.h>

#include <sstream>

#include "sync/handheld/HandheldEncoding.h"
#include "sync/handheld/HandheldFieldCipher.h"
#include "sync/handheld/HandheldResult.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

using namespace zvtest;

namespace {

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

struct Vector {
    std::string key, text;
    std::vector<uint8_t> blob;
};

std::vector<Vector> LoadVectors()
{
    std::vector<Vector> vectors;
    std::istringstream in(ReadFileBytes(HandheldFixture("cipher_vectors.txt")));
    std::string line;
    while (std::getline(in, line)) {
        size_t a = line.find('\t'), b = line.find('\t', a + 1);
        vectors.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), FromHex(line.substr(b + 1))});
    }
    return vectors;
}

TEST(HandheldFieldCipher, MatchesTheIndependentVectors)
{
    std::vector<Vector> vectors = LoadVectors();
    ASSERT_EQ(5u, vectors.size());
    for (const Vector& v : vectors) {
        if (v.key == "(password column)") {
            CSecretString password;
            ASSERT_EQ(kHandheldOk, DecryptHandheldPassword(v.blob.data(), static_cast<int>(v.blob.size()), password));
            EXPECT_STREQ(v.text.c_str(), password.c_str());
            continue;
        }
        CHandheldFieldCipher cipher;
        cipher.SetPassword(CSecretString(v.key.c_str()));
        ASSERT_TRUE(cipher.IsOn());
        std::vector<uint8_t> blob;
        ASSERT_EQ(kHandheldOk, cipher.Encrypt(v.text.c_str(), blob));
        EXPECT_EQ(v.blob, blob) << v.key << " / " << v.text;
        CString back;
        bool hasValue = false;
        ASSERT_EQ(kHandheldOk, cipher.Decrypt(v.blob.data(), static_cast<int>(v.blob.size()), back, hasValue));
        EXPECT_TRUE(hasValue);
        EXPECT_STREQ(v.text.c_str(), back);
    }
}

TEST(HandheldFieldCipher, BlockEdges)
{
    CHandheldFieldCipher cipher;
    cipher.SetPassword("secret");
    // Eight bytes become sixteen, the second block deciphering to zeros.
    std::vector<uint8_t> blob;
    ASSERT_EQ(kHandheldOk, cipher.Encrypt("ABCDEFGH", blob));
    ASSERT_EQ(16u, blob.size());
    CString value;
    bool hasValue = false;
    // A trailing partial block is ignored: 13 bytes read as their first 8.
    std::vector<uint8_t> thirteen(blob.begin(), blob.begin() + 8);
    thirteen.insert(thirteen.end(), 5, 0x55);
    ASSERT_EQ(kHandheldOk, cipher.Decrypt(thirteen.data(), 13, value, hasValue));
    EXPECT_STREQ("ABCDEFGH", value);
    // An empty BLOB is no value with the cipher on, an empty one with it off;
    // NULL is no value either way.
    ASSERT_EQ(kHandheldOk, cipher.Decrypt(blob.data(), 0, value, hasValue));
    EXPECT_FALSE(hasValue);
    CHandheldFieldCipher off;
    ASSERT_EQ(kHandheldOk, off.Decrypt("", 0, value, hasValue));
    EXPECT_TRUE(hasValue);
    ASSERT_EQ(kHandheldOk, off.Decrypt(nullptr, 0, value, hasValue));
    EXPECT_FALSE(hasValue);
    // Off: the bytes up to the first zero.
    ASSERT_EQ(kHandheldOk, off.Decrypt("ab\0cd", 5, value, hasValue));
    EXPECT_STREQ("ab", value);
    // An empty password leaves the cipher off; a second one does not rekey.
    off.SetPassword("");
    EXPECT_FALSE(off.IsOn());
    cipher.SetPassword("other");
    std::vector<uint8_t> again;
    ASSERT_EQ(kHandheldOk, cipher.Encrypt("ABCDEFGH", again));
    EXPECT_EQ(blob, again);
}

TEST(HandheldFieldCipher, OverLongValuesAreRefusedNotOverrun)
{
    struct Case {
        bool on;
        int bytes;
        int decrypt, encrypt;
    } cases[] = {
        {true, 16384, kHandheldOk, kHandheldValueTooLong},  // 16384 text bytes need 16392
        {true, 16383, kHandheldOk, kHandheldOk},            // the longest text that fits
        {true, 16385, kHandheldValueTooLong, kHandheldValueTooLong},
        {true, 70000, kHandheldValueTooLong, kHandheldValueTooLong},  // beyond 16 bits of length too
        {false, 4096, kHandheldOk, kHandheldOk},
        {false, 4097, kHandheldValueTooLong, kHandheldValueTooLong},
    };
    for (const Case& c : cases) {
        CHandheldFieldCipher cipher;
        if (c.on) cipher.SetPassword("secret");
        std::string bytes(static_cast<size_t>(c.bytes), 'v');
        CString value;
        bool hasValue = false;
        EXPECT_EQ(c.decrypt, cipher.Decrypt(bytes.data(), c.bytes, value, hasValue)) << c.on << " " << c.bytes;
        if (c.decrypt != kHandheldOk) {
            EXPECT_TRUE(value.IsEmpty());
        }
        std::vector<uint8_t> blob;
        EXPECT_EQ(c.encrypt, cipher.Encrypt(CString(bytes.data(), c.bytes), blob)) << c.on << " " << c.bytes;
    }
    CSecretString password("kept");
    std::string huge(16392, 'p');
    EXPECT_EQ(kHandheldValueTooLong, DecryptHandheldPassword(huge.data(), static_cast<int>(huge.size()), password));
    EXPECT_TRUE(password.IsEmpty());
}

TEST(HandheldEncoding, UidText)
{
    static const uint8_t expected[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    uint8_t key[8];
    ASSERT_TRUE(HexToBytes8("0123456789ABCDEF", key));
    EXPECT_TRUE(IsSameUniqueKey(expected, key));
    // Lower-case digits are not understood: not the same key.
    ASSERT_TRUE(HexToBytes8("0123456789abcdef", key));
    EXPECT_FALSE(IsSameUniqueKey(expected, key));
    EXPECT_FALSE(HexToBytes8("0123", key));
    EXPECT_TRUE(IsNullUniqueKey(key));
    EXPECT_FALSE(HexToBytes8(nullptr, key));
}

TEST(HandheldEncoding, DateField)
{
    EXPECT_STREQ("March 05, 2009", HandheldDateToDesktop("2009-03-05 07:08:09 +0000"));
    EXPECT_STREQ("2009-03-05 00:00:00 +0000", DesktopDateToHandheld("March 05, 2009"));
    EXPECT_STREQ("", HandheldDateToDesktop(""));
    EXPECT_STREQ("", DesktopDateToHandheld(""));
}

}  // namespace
