#include "core/crypto/Rijndael.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string FromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::string Counting(int n, int step = 1)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += char((i * step) & 0xFF);
    return s;
}

// The message of the exception a call throws, or "" when it throws none.
template <class F> std::string ThrownMessage(F f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

struct Vector {
    const char* name;
    std::string key;
    std::string plain;
    std::string cipher;
    int blockSize;
};

// FIPS 197 appendices B and C.1-C.3 for AES; the larger blocks from the
// textbook model in tests/fixtures/crypto/rijndael_model.py (key bytes
// 00 01 02 ..., plain text bytes 00 11 22 ...).
std::vector<Vector> Vectors()
{
    return {
        {"FIPS197 B", FromHex("2b7e151628aed2a6abf7158809cf4f3c"), FromHex("3243f6a8885a308d313198a2e0370734"),
         FromHex("3925841d02dc09fbdc118597196a0b32"), 16},
        {"FIPS197 C.1", Counting(16), Counting(16, 0x11), FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"), 16},
        {"FIPS197 C.2", Counting(24), Counting(16, 0x11), FromHex("dda97ca4864cdfe06eaf70a0ec0d7191"), 16},
        {"FIPS197 C.3", Counting(32), Counting(16, 0x11), FromHex("8ea2b7ca516745bfeafc49904b496089"), 16},
        {"k16 b24", Counting(16), Counting(24, 0x11), FromHex("e64018d211d8349b350f38893d7d23899fece7a9aca7c6ba"), 24},
        {"k16 b32", Counting(16), Counting(32, 0x11),
         FromHex("98c6f98ba9631b91c34f431e0887c561b6ac44c985cecd38dbc4cb30b9170d2f"), 32},
        {"k24 b24", Counting(24), Counting(24, 0x11), FromHex("78be2d48f76d71da6966f3a175fb71ad66b70b2076c3cf1d"), 24},
        {"k24 b32", Counting(24), Counting(32, 0x11),
         FromHex("3c386395e910345a59a7dd165dcbda604bf072f0a03a6b0055a79b734e668868"), 32},
        {"k32 b24", Counting(32), Counting(24, 0x11), FromHex("65d851df8d04b5cbb510935fdd1eb17b33efb8cb255ee712"), 24},
        {"k32 b32", Counting(32), Counting(32, 0x11),
         FromHex("288fa9d23d00d9dc0a39b33fa92867c6488b5e0f18a6f74c072078ec815462e6"), 32},
    };
}

TEST(Rijndael, KnownVectorsEncryptAndDecrypt)
{
    for (const Vector& v : Vectors()) {
        SCOPED_TRACE(v.name);
        CRijndael cipher;
        std::string chain(32, '\0');
        cipher.PrepareKey(v.key.data(), chain.data(), int(v.key.size()), v.blockSize);
        std::string out(size_t(v.blockSize), '\0');
        cipher.EncryptVarBlock(v.plain.data(), &out[0]);
        EXPECT_EQ(out, v.cipher);
        std::string back(size_t(v.blockSize), '\0');
        cipher.DecryptVarBlock(out.data(), &back[0]);
        EXPECT_EQ(back, v.plain);
        if (v.blockSize == 16) {
            cipher.EncryptBlock16(v.plain.data(), &out[0]);
            EXPECT_EQ(out, v.cipher);
            cipher.DecryptBlock16(v.cipher.data(), &back[0]);
            EXPECT_EQ(back, v.plain);
        }
    }
}

TEST(Rijndael, EncryptingInPlaceWorks)
{
    CRijndael cipher;
    std::string key = Counting(16);
    cipher.PrepareKey(key.data(), nullptr, 16, 16);
    std::string block = Counting(16, 0x11);
    cipher.EncryptBlock16(block.data(), &block[0]);
    EXPECT_EQ(block, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
    cipher.DecryptBlock16(block.data(), &block[0]);
    EXPECT_EQ(block, Counting(16, 0x11));
}

TEST(Rijndael, ChainBlockNeverChangesAResult)
{
    std::string key = Counting(16);
    std::string plain = Counting(16, 0x11);
    for (const std::string& chain : {std::string(32, '\0'), std::string(32, '\xA5'), Counting(32, 7)}) {
        CRijndael cipher;
        cipher.PrepareKey(key.data(), chain.data(), 16, 16);
        std::string out(16, '\0');
        cipher.EncryptVarBlock(plain.data(), &out[0]);
        EXPECT_EQ(out, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
        cipher.EncryptVarBlock(plain.data(), &out[0]);  // no chaining between calls either
        EXPECT_EQ(out, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
    }
}

TEST(Rijndael, RekeyingReplacesTheKey)
{
    CRijndael cipher;
    std::string k1 = Counting(32), k2 = Counting(16);
    cipher.PrepareKey(k1.data(), nullptr, 32, 32);
    cipher.PrepareKey(k2.data(), nullptr, 16, 16);
    std::string plain = Counting(16, 0x11), out(16, '\0');
    cipher.EncryptVarBlock(plain.data(), &out[0]);
    EXPECT_EQ(out, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
}

TEST(Rijndael, SetUpErrorsInTheirOrder)
{
    std::string key = Counting(32);
    struct Case {
        const char* name;
        const char* key;
        int keyLength;
        int blockSize;
        const char* message;
    } cases[] = {
        {"null key", nullptr, 16, 16, "Empty key"},
        {"null key, wrong lengths", nullptr, 20, 8, "Empty key"},
        {"key length 20", key.data(), 20, 16, "Incorrect key length"},
        {"key length 0", key.data(), 0, 16, "Incorrect key length"},
        {"both lengths wrong", key.data(), 20, 8, "Incorrect key length"},
        {"block size 8", key.data(), 16, 8, "Incorrect block length"},
        {"block size 33", key.data(), 32, 33, "Incorrect block length"},
        {"valid", key.data(), 24, 32, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRijndael cipher;
        EXPECT_EQ(ThrownMessage([&] { cipher.PrepareKey(c.key, nullptr, c.keyLength, c.blockSize); }), c.message);
    }
}

TEST(Rijndael, BlockOperationsBeforeKeySetUpThrow)
{
    char in[32] = {0}, out[32];
    CRijndael cipher;
    EXPECT_EQ(ThrownMessage([&] { cipher.EncryptBlock16(in, out); }), "Object not Initialized");
    EXPECT_EQ(ThrownMessage([&] { cipher.DecryptBlock16(in, out); }), "Object not Initialized");
    EXPECT_EQ(ThrownMessage([&] { cipher.EncryptVarBlock(in, out); }), "Object not Initialized");
    EXPECT_EQ(ThrownMessage([&] { cipher.DecryptVarBlock(in, out); }), "Object not Initialized");
    // A failed set-up does not make the object usable.
    EXPECT_EQ(ThrownMessage([&] { cipher.PrepareKey(in, nullptr, 20, 16); }), "Incorrect key length");
    EXPECT_EQ(ThrownMessage([&] { cipher.EncryptVarBlock(in, out); }), "Object not Initialized");
}

TEST(Rijndael, SixteenBytePathsRefuseALargerPreparedBlock)
{
    // The fixed AES paths would read round keys laid out for another block size.
    char key[16] = {0}, in[32] = {0}, out[32];
    CRijndael cipher;
    cipher.PrepareKey(key, nullptr, 16, 32);
    EXPECT_EQ(ThrownMessage([&] { cipher.EncryptBlock16(in, out); }), "Incorrect block length");
    EXPECT_EQ(ThrownMessage([&] { cipher.DecryptBlock16(in, out); }), "Incorrect block length");
}

}  // namespace

TEST(Rijndael, DestroyingTheCipherWipesItsRoundKeys)
{
    // The first round key is the key itself; after destruction nothing of it
    // may be left in the object's memory.
    const char key[17] = "0123456789abcdef";
    alignas(CRijndael) unsigned char storage[sizeof(CRijndael)];
    CRijndael* cipher = new (storage) CRijndael();
    cipher->PrepareKey(key, "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16, 16);
    const unsigned char firstWordBigEndian[4] = {'0', '1', '2', '3'};
    const unsigned char firstWordLittleEndian[4] = {'3', '2', '1', '0'};
    auto contains = [&](const unsigned char* word) {
        return std::search(storage, storage + sizeof(storage), word, word + 4) != storage + sizeof(storage);
    };
    ASSERT_TRUE(contains(firstWordBigEndian) || contains(firstWordLittleEndian)) << "the schedule holds the key";
    cipher->~CRijndael();
    EXPECT_FALSE(contains(firstWordBigEndian));
    EXPECT_FALSE(contains(firstWordLittleEndian));
}
