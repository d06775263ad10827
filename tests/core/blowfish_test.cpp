#include "core/crypto/Blowfish.h"
#include "core/crypto/BlowfishTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>
#include "tests/support/TestText.h"

namespace {

const auto& Hex = zvtest::HexBytes;

std::string ToHex(const uint8_t* p, size_t n)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += kDigits[p[i] >> 4];
        s += kDigits[p[i] & 15];
    }
    return s;
}

BlowfishContext Keyed(const std::vector<uint8_t>& key)
{
    BlowfishContext ctx;
    BlowfishInit(&ctx, key.data(), int32_t(key.size()));
    return ctx;
}

BlowfishContext Keyed(const std::string& key) { return Keyed(std::vector<uint8_t>(key.begin(), key.end())); }

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Eric Young's published ECB test vectors (8-byte keys).
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

// Eric Young's variable-key vectors: plain text FEDCBA9876543210 under the
// first 1..24 bytes of one long key.
const char kVariableKey[] = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
const char* const kVariableKeyCiphers[24] = {
    "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
    "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
    "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
    "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
    "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
};

TEST(Blowfish, InitialTablesAreTheDigitsOfPi)
{
    // pi = 3.243F6A88 85A308D3 ...; the S-boxes follow the P-array directly.
    EXPECT_EQ(kBlowfishInitP[0], 0x243F6A88u);
    EXPECT_EQ(kBlowfishInitP[1], 0x85A308D3u);
    EXPECT_EQ(kBlowfishInitP[17], 0x8979FB1Bu);
    EXPECT_EQ(kBlowfishInitS[0][0], 0xD1310BA6u);
    EXPECT_EQ(kBlowfishInitS[3][255], 0x3AC372E6u);
    EXPECT_EQ(sizeof(BlowfishContext), 4168u);
    EXPECT_EQ(offsetof(BlowfishContext, S), 72u);
}

TEST(Blowfish, PublishedEcbVectors)
{
    for (const Vector& v : kEcbVectors) {
        SCOPED_TRACE(std::string("key ") + v.key + " plain " + v.plain);
        BlowfishContext ctx = Keyed(Hex(v.key));
        std::vector<uint8_t> block = Hex(v.plain);
        BlowfishEncryptECB(&ctx, block.data(), block.data(), 8);
        EXPECT_EQ(ToHex(block.data(), 8), v.cipher);
        BlowfishDecryptECB(&ctx, block.data(), block.data(), 8);
        EXPECT_EQ(ToHex(block.data(), 8), v.plain);
    }
}

TEST(Blowfish, PublishedVariableKeyVectors)
{
    std::vector<uint8_t> longKey = Hex(kVariableKey);
    for (int n = 1; n <= 24; ++n) {
        SCOPED_TRACE("key length " + std::to_string(n));
        BlowfishContext ctx;
        BlowfishInit(&ctx, longKey.data(), n);
        std::vector<uint8_t> block = Hex("FEDCBA9876543210");
        BlowfishCryptInPlace(8, block.data(), &ctx, 1);
        EXPECT_EQ(ToHex(block.data(), 8), kVariableKeyCiphers[n - 1]);
    }
}

TEST(Blowfish, SchneiersTextKeyVectors)
{
    BlowfishContext ctx = Keyed(std::string("abcdefghijklmnopqrstuvwxyz"));
    uint8_t block[8];
    std::memcpy(block, "BLOWFISH", 8);
    BlowfishEncryptECB(&ctx, block, block, 8);
    EXPECT_EQ(ToHex(block, 8), "324ED0FEF413A203");

    ctx = Keyed(std::string("Who is John Galt?"));
    std::vector<uint8_t> b = Hex("FEDCBA9876543210");
    BlowfishEncryptECB(&ctx, b.data(), b.data(), 8);
    EXPECT_EQ(ToHex(b.data(), 8), "CC91732B8022F684");
}

TEST(Blowfish, MultiBlockBufferIsBlockwiseEcb)
{
    // Eric Young's chaining-mode data: "7654321 Now is the time for " and its
    // terminating zero, padded with zeros to 32 bytes, in ECB and in CBC (the
    // chaining done here around the block routine, IV FEDCBA9876543210).
    BlowfishContext ctx = Keyed(Hex("0123456789ABCDEFF0E1D2C3B4A59687"));
    uint8_t text[32] = {};
    std::memcpy(text, "7654321 Now is the time for ", 29);
    uint8_t out[32];
    BlowfishEncryptECB(&ctx, text, out, 32);
    EXPECT_EQ(ToHex(out, 32), "2AFD7DAA60626BA38616468CC29CF6E1291E817CC740982D6F87AC5F171AABEA");

    const std::vector<uint8_t> iv = Hex("FEDCBA9876543210");
    uint8_t chained[32];
    std::memcpy(chained, text, 32);
    for (int b = 0; b < 4; ++b) {
        for (int i = 0; i < 8; ++i) chained[8 * b + i] ^= b ? chained[8 * b - 8 + i] : iv[size_t(i)];
        BlowfishCryptInPlace(8, chained + 8 * b, &ctx, 1);
    }
    EXPECT_EQ(ToHex(chained, 32), "6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC");
    BlowfishDecryptECB(&ctx, out, out, 32);
    EXPECT_EQ(std::memcmp(out, text, 32), 0);
}

TEST(Blowfish, BlockFunctionsUseHostOrderWords)
{
    BlowfishContext ctx = Keyed(Hex("0123456789ABCDEF"));
    uint32_t block[2] = {0x11111111u, 0x11111111u};
    BlowfishEncryptBlock(&ctx, block, block);  // in and out the same words
    EXPECT_EQ(block[0], 0x61F9C380u);
    EXPECT_EQ(block[1], 0x2281B096u);
    uint32_t plain[2];
    BlowfishDecryptBlock(&ctx, block, plain);
    EXPECT_EQ(plain[0], 0x11111111u);
    EXPECT_EQ(plain[1], 0x11111111u);
}

TEST(Blowfish, KeyIsUsedCyclically)
{
    const BlowfishContext a = Keyed(std::string("A"));
    const BlowfishContext aa = Keyed(std::string("AA"));
    const BlowfishContext aaaa = Keyed(std::string("AAAA"));
    EXPECT_EQ(std::memcmp(&a, &aa, sizeof a), 0);
    EXPECT_EQ(std::memcmp(&a, &aaaa, sizeof a), 0);
    const BlowfishContext ab = Keyed(std::string("AB"));
    EXPECT_NE(std::memcmp(&a, &ab, sizeof a), 0);
}

TEST(Blowfish, EmptyKeyIsOneZeroByte)
{
    const uint8_t zero[1] = {0};
    BlowfishContext one;
    BlowfishInit(&one, zero, 1);
    const uint8_t junk[4] = {'x', 'y', 'z', 'w'};
    for (int32_t length : {0, -1, -100}) {
        SCOPED_TRACE(length);
        BlowfishContext empty;
        std::memset(&empty, 0xCC, sizeof empty);
        BlowfishInit(&empty, junk, length);  // the key bytes are not read
        EXPECT_EQ(std::memcmp(&empty, &one, sizeof one), 0);
    }
    BlowfishContext none;
    BlowfishInit(&none, nullptr, 0);
    EXPECT_EQ(std::memcmp(&none, &one, sizeof one), 0);
    // And an all-zero key of any length is that same schedule.
    const BlowfishContext eight = Keyed(Hex("0000000000000000"));
    EXPECT_EQ(std::memcmp(&eight, &one, sizeof one), 0);
}

TEST(Blowfish, OnlyTheFirst72KeyBytesCount)
{
    std::vector<uint8_t> key(100);
    for (size_t i = 0; i < key.size(); ++i) key[i] = uint8_t(i * 37 + 11);
    BlowfishContext k72, k100;
    BlowfishInit(&k72, key.data(), 72);
    BlowfishInit(&k100, key.data(), 100);
    EXPECT_EQ(std::memcmp(&k72, &k100, sizeof k72), 0);
    BlowfishContext k71;
    BlowfishInit(&k71, key.data(), 71);
    EXPECT_NE(std::memcmp(&k71, &k72, sizeof k72), 0);
}

TEST(Blowfish, InitContextIsTheSameScheduleAndReturnsTheContext)
{
    const std::string key = "attachment key";
    BlowfishContext a, b;
    BlowfishInit(&a, reinterpret_cast<const uint8_t*>(key.data()), int32_t(key.size()));
    EXPECT_EQ(BlowfishInitContext(&b, reinterpret_cast<const uint8_t*>(key.data()), int32_t(key.size())), &b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

enum class Routine { EncryptEcb, DecryptEcb, EncryptInPlace, DecryptInPlace };

void RunRoutine(Routine r, const BlowfishContext& ctx, uint8_t* buffer, uint16_t length)
{
    switch (r) {
    case Routine::EncryptEcb: BlowfishEncryptECB(&ctx, buffer, buffer, length); break;
    case Routine::DecryptEcb: BlowfishDecryptECB(&ctx, buffer, buffer, length); break;
    case Routine::EncryptInPlace: BlowfishCryptInPlace(length, buffer, &ctx, 1); break;
    case Routine::DecryptInPlace: BlowfishCryptInPlace(length, buffer, &ctx, 0); break;
    }
}

TEST(Blowfish, BufferRoutinesProcessWholeBlocksOnly)
{
    const BlowfishContext ctx = Keyed(std::string("partial"));
    struct Case {
        unsigned length;         // as the caller computes it, before the 16-bit cut
        unsigned changedPrefix;  // bytes that must change (whole blocks)
    };
    const Case cases[] = {
        {0, 0}, {1, 0}, {7, 0}, {8, 8}, {15, 8}, {16, 16}, {23, 16}, {65536 + 16, 16}, {65536 + 7, 0},
    };
    for (Routine r : {Routine::EncryptEcb, Routine::DecryptEcb, Routine::EncryptInPlace, Routine::DecryptInPlace}) {
        for (const Case& c : cases) {
            SCOPED_TRACE("routine " + std::to_string(int(r)) + " length " + std::to_string(c.length));
            std::vector<uint8_t> buffer(40);
            for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = uint8_t(0xA0 + i);
            const std::vector<uint8_t> original = buffer;
            RunRoutine(r, ctx, buffer.data(), uint16_t(c.length));
            for (unsigned i = 0; i < c.changedPrefix; i += 8)
                EXPECT_NE(std::memcmp(&buffer[i], &original[i], 8), 0) << "block at " << i;
            EXPECT_TRUE(std::equal(buffer.begin() + c.changedPrefix, buffer.end(), original.begin() + c.changedPrefix));
        }
    }
}

TEST(Blowfish, BufferRoutinesGiveTheSingleBlockCipherForEveryBlock)
{
    // Buffers are worked several blocks at a time: every count of blocks, in
    // place and to a separate destination, must give what the single-block
    // routine gives for each block (words read big-endian).
    const BlowfishContext ctx = Keyed(std::string("interleaved"));
    for (unsigned blocks : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 12u, 13u, 8191u}) {
        SCOPED_TRACE(blocks);
        const size_t size = 8 * blocks;
        std::vector<uint8_t> plain(size + 3);
        for (size_t i = 0; i < plain.size(); ++i) plain[i] = uint8_t(i * 131 + (i >> 8) * 7 + 1);
        std::vector<uint8_t> expectCipher(size), expectPlain(size);
        for (size_t b = 0; b < size; b += 8) {
            uint32_t words[2] = {uint32_t(plain[b]) << 24 | uint32_t(plain[b + 1]) << 16 | uint32_t(plain[b + 2]) << 8 |
                                     plain[b + 3],
                                 uint32_t(plain[b + 4]) << 24 | uint32_t(plain[b + 5]) << 16 |
                                     uint32_t(plain[b + 6]) << 8 | plain[b + 7]};
            uint32_t enc[2], dec[2];
            BlowfishEncryptBlock(&ctx, words, enc);
            BlowfishDecryptBlock(&ctx, words, dec);
            for (int i = 0; i < 8; ++i) {
                expectCipher[b + i] = uint8_t(enc[i / 4] >> (24 - 8 * (i % 4)));
                expectPlain[b + i] = uint8_t(dec[i / 4] >> (24 - 8 * (i % 4)));
            }
        }
        std::vector<uint8_t> out(size);
        BlowfishEncryptECB(&ctx, plain.data(), out.data(), uint16_t(size));
        EXPECT_TRUE(std::equal(expectCipher.begin(), expectCipher.end(), out.begin()));
        BlowfishDecryptECB(&ctx, plain.data(), out.data(), uint16_t(size));
        EXPECT_TRUE(std::equal(expectPlain.begin(), expectPlain.end(), out.begin()));
        // In place; the three bytes after the last whole block stay.
        std::vector<uint8_t> buffer = plain;
        BlowfishCryptInPlace(uint16_t(size + 3), buffer.data(), &ctx, 1);
        EXPECT_TRUE(std::equal(expectCipher.begin(), expectCipher.end(), buffer.begin()));
        EXPECT_TRUE(std::equal(plain.begin() + size, plain.end(), buffer.begin() + size));
        BlowfishCryptInPlace(uint16_t(size + 3), buffer.data(), &ctx, 0);
        EXPECT_EQ(buffer, plain);
        buffer = plain;
        BlowfishDecryptECB(&ctx, buffer.data(), buffer.data(), uint16_t(size));
        EXPECT_TRUE(std::equal(expectPlain.begin(), expectPlain.end(), buffer.begin()));
    }
}

TEST(Blowfish, SeparateDestinationKeepsItsTail)
{
    const BlowfishContext ctx = Keyed(Hex("0123456789ABCDEF"));
    const std::vector<uint8_t> src = Hex("1111111111111111AABBCCDDEEFF00");
    std::vector<uint8_t> dst(15, 0x5A);
    BlowfishEncryptECB(&ctx, src.data(), dst.data(), 15);
    EXPECT_EQ(ToHex(dst.data(), 15), "61F9C3802281B0965A5A5A5A5A5A5A");
}

TEST(Blowfish, RoundTripAtEveryAlignment)
{
    const BlowfishContext ctx = Keyed(std::string("alignment"));
    std::vector<uint8_t> storage(64 + 8);
    for (size_t offset = 0; offset < 8; ++offset) {
        SCOPED_TRACE(offset);
        uint8_t* buffer = storage.data() + offset;
        for (int i = 0; i < 64; ++i) buffer[i] = uint8_t(i * 13 + offset);
        const std::vector<uint8_t> original(buffer, buffer + 64);
        BlowfishCryptInPlace(64, buffer, &ctx, 1);
        EXPECT_NE(std::memcmp(buffer, original.data(), 64), 0);
        // The same bytes encrypted at an aligned address give the same result.
        std::vector<uint8_t> aligned = original;
        BlowfishEncryptECB(&ctx, aligned.data(), aligned.data(), 64);
        EXPECT_EQ(std::memcmp(buffer, aligned.data(), 64), 0);
        BlowfishCryptInPlace(64, buffer, &ctx, 0);
        EXPECT_EQ(std::memcmp(buffer, original.data(), 64), 0);
    }
}

TEST(Blowfish, DecryptInPlaceEvenSkipsAByteAtOddOffsets)
{
    const BlowfishContext ctx = Keyed(std::string("version two"));
    struct Case {
        int32_t start;
        uint16_t length;
        int firstChanged;  // -1: nothing changes
        int changedCount;
    };
    const Case cases[] = {
        {5, 20, 6, 16},                 // odd: offsets 6..21, length 19, two blocks
        {4, 20, 4, 16},                 // even: offsets 4..19
        {4, 24, 4, 24}, {3, 8, -1, 0},  // odd: 7 bytes left, no whole block
        {3, 9, 4, 8},   {1, 0, -1, 0},  // odd with nothing to decrypt: no wrap to 65535
        {0, 0, -1, 0},  {-1, 16, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("start " + std::to_string(c.start) + " length " + std::to_string(c.length));
        std::vector<uint8_t> blob(48);
        for (size_t i = 0; i < blob.size(); ++i) blob[i] = uint8_t(i);
        std::vector<uint8_t> expected = blob;
        if (c.firstChanged >= 0)
            BlowfishDecryptECB(&ctx, &expected[c.firstChanged], &expected[c.firstChanged], uint16_t(c.changedCount));
        BlowfishDecryptInPlaceEven(blob.data(), c.start, c.length, &ctx);
        EXPECT_EQ(blob, expected);
    }
}

TEST(Blowfish, ContextCanBeCopiedAsAPlainBlock)
{
    const BlowfishContext ctx = Keyed(std::string("copy me"));
    std::vector<uint8_t> raw(sizeof ctx);
    std::memcpy(raw.data(), &ctx, sizeof ctx);
    BlowfishContext copy;
    std::memcpy(&copy, raw.data(), sizeof copy);
    uint8_t a[8] = {1, 2, 3, 4, 5, 6, 7, 8}, b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    BlowfishEncryptECB(&ctx, a, a, 8);
    BlowfishEncryptECB(&copy, b, b, 8);
    EXPECT_EQ(std::memcmp(a, b, 8), 0);
}

}  // namespace
