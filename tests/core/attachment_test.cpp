#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/os/ProcessSeams.h"
#include "core/store/AttachmentCrypter.h"
#include "core/crypto/Blowfish.h"
#include "core/items/Record.h"
#include "core/store/ReplacingFile.h"
#include "tests/support/ScopedReplace.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

// Schneier's published vector: key "abcdefghijklmnopqrstuvwxyz", plain
// "BLOWFISH", cipher 32 4E D0 FE F4 13 A2 03.
const char kVectorKey[] = "abcdefghijklmnopqrstuvwxyz";
const std::string kVectorCipher("\x32\x4E\xD0\xFE\xF4\x13\xA2\x03", 8);

std::string Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    return s;
}

// Independent model: pad with zeros, then encrypt each block as two big-endian words.
std::string ModelEncrypt(const char* key, std::string plain)
{
    plain.resize((plain.size() + 7) / 8 * 8, '\0');
    BlowfishContext ctx;
    BlowfishInit(&ctx, reinterpret_cast<const uint8_t*>(key), static_cast<int32_t>(strlen(key)));
    for (size_t i = 0; i < plain.size(); i += 8) {
        const uint8_t* b = reinterpret_cast<const uint8_t*>(plain.data() + i);
        uint32_t w[2] = {uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3],
                         uint32_t(b[4]) << 24 | uint32_t(b[5]) << 16 | uint32_t(b[6]) << 8 | b[7]};
        BlowfishEncryptBlock(&ctx, w, w);
        for (int k = 0; k < 4; ++k) {
            plain[i + k] = static_cast<char>(w[0] >> (24 - 8 * k));
            plain[i + 4 + k] = static_cast<char>(w[1] >> (24 - 8 * k));
        }
    }
    return plain;
}

int FailBeforeReplace(const CString&, const CString&) { return 112; }

}  // namespace

TEST(AttachmentChunks, PadToWholeBlocksAndRoundTrip)
{
    BlowfishContext ctx;
    BlowfishInit(&ctx, reinterpret_cast<const uint8_t*>(kVectorKey), 26);
    size_t length = 0;
    EXPECT_TRUE(BlowfishEncryptChunk(&ctx, nullptr, length).empty());
    const uint8_t data[13] = {'B', 'L', 'O', 'W', 'F', 'I', 'S', 'H', 1, 2, 3, 4, 5};
    length = 0;
    EXPECT_TRUE(BlowfishEncryptChunk(&ctx, data, length).empty());
    length = 13;
    std::vector<uint8_t> enc = BlowfishEncryptChunk(&ctx, data, length);
    ASSERT_EQ(length, 16u);
    ASSERT_EQ(enc.size(), 16u);
    EXPECT_EQ(std::string(enc.begin(), enc.begin() + 8), kVectorCipher);
    std::vector<uint8_t> dec = BlowfishDecryptChunk(&ctx, enc.data(), 16);
    EXPECT_EQ(0, memcmp(dec.data(), data, 13));
    EXPECT_EQ(dec[13], 0);
    EXPECT_EQ(dec[15], 0);
    // A trailing part of fewer than 8 bytes comes out as zeros.
    dec = BlowfishDecryptChunk(&ctx, enc.data(), 11);
    ASSERT_EQ(dec.size(), 11u);
    EXPECT_EQ(0, memcmp(dec.data(), data, 8));
    for (int i = 8; i < 11; ++i) EXPECT_EQ(dec[i], 0);
}

TEST(AttachmentCrypter, StoredFileIsThePaddedSourceEncryptedBlockByBlock)
{
    zvtest::ScratchDir dir("att");
    const fs::path files = dir / "Files";  // created on first use
    struct Case {
        size_t size;
        size_t stored;
    } cases[] = {{0, 0}, {1, 8}, {7, 8}, {8, 8}, {4095, 4096}, {4096, 4096}, {4097, 4104}, {70001, 70008}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string plain = Pattern(c.size);
        const fs::path source = dir.WriteFile("plain.bin", plain);
        CAttachmentCrypter crypter(kVectorKey, "1a2b.zfa", Str(files));
        ASSERT_TRUE(crypter.HasKey());
        ASSERT_EQ(crypter.EncryptFromFile(Str(source)), 0);
        const std::string stored = zvtest::ReadFileBytes(files / "1a2b.zfa");
        ASSERT_EQ(stored.size(), c.stored);
        EXPECT_EQ(stored, ModelEncrypt(kVectorKey, plain));
        EXPECT_FALSE(fs::exists(files / "1a2b.zfa.tmp"));

        const fs::path out = dir / "out.bin";
        ASSERT_EQ(crypter.DecryptToFile(Str(out)), 0);
        std::string expected = plain;
        expected.resize(c.stored, '\0');  // the padding comes back as zeros
        EXPECT_EQ(zvtest::ReadFileBytes(out), expected);
    }
}

TEST(AttachmentCrypter, PublishedVectorThroughAFile)
{
    zvtest::ScratchDir dir("att");
    const fs::path source = dir.WriteFile("v.txt", "BLOWFISH");
    CAttachmentCrypter crypter(kVectorKey, "0.zfa", Str(dir.Path()));
    ASSERT_EQ(crypter.EncryptFromFile(Str(source)), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "0.zfa"), kVectorCipher);
}

TEST(AttachmentCrypter, WithoutKeyOrNameNothingIsWritten)
{
    zvtest::ScratchDir dir("att");
    const fs::path source = dir.WriteFile("v.txt", "data");
    const char* keys[] = {"", "key"};
    const char* names[] = {"5.zfa", ""};
    for (int i = 0; i < 2; ++i) {
        CAttachmentCrypter crypter(keys[i], names[i], Str(dir.Path()));
        EXPECT_FALSE(crypter.HasKey());
        EXPECT_EQ(crypter.EncryptFromFile(Str(source)), -1);
        EXPECT_EQ(crypter.DecryptToFile(Str(dir / "out")), -1);
    }
    EXPECT_FALSE(fs::exists(dir / "5.zfa"));
    EXPECT_FALSE(fs::exists(dir / "out"));
}

TEST(AttachmentCrypter, FailuresReportAndLeaveTheOldFilesAlone)
{
    zvtest::ScratchDir dir("att");
    const fs::path stored = dir.WriteFile("7.zfa", "OLDSTORE");
    const fs::path dest = dir.WriteFile("dest.txt", "old destination");
    CAttachmentCrypter crypter("key text", "7.zfa", Str(dir.Path()));

    // A source that cannot be opened: reported, stored file untouched.
    EXPECT_NE(crypter.EncryptFromFile(Str(dir / "missing.txt")), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(stored), "OLDSTORE");

    // A failure after the new version was written: the old one stays.
    const fs::path source = dir.WriteFile("new.txt", "new contents");
    {
        zvtest::ScopedReplace guard(&SetBeforeReplaceHook, &FailBeforeReplace);
        EXPECT_EQ(crypter.EncryptFromFile(Str(source)), 112);
        EXPECT_EQ(crypter.DecryptToFile(Str(dest)), 112);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(stored), "OLDSTORE");
    EXPECT_EQ(zvtest::ReadFileBytes(dest), "old destination");
    EXPECT_FALSE(fs::exists(dir / "7.zfa.tmp"));
    EXPECT_FALSE(fs::exists(dir / "dest.txt.tmp"));

    // Decrypting a missing stored file leaves the destination alone.
    CAttachmentCrypter other("key text", "99.zfa", Str(dir.Path()));
    EXPECT_NE(other.DecryptToFile(Str(dest)), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dest), "old destination");
}

TEST(AttachmentCrypter, WrongKeyDecryptsToGarbageWithoutError)
{
    zvtest::ScratchDir dir("att");
    const fs::path source = dir.WriteFile("p.txt", "secret attachment!");
    CAttachmentCrypter right("right key", "3.zfa", Str(dir.Path()));
    ASSERT_EQ(right.EncryptFromFile(Str(source)), 0);
    CAttachmentCrypter wrong("wrong key", "3.zfa", Str(dir.Path()));
    ASSERT_EQ(wrong.DecryptToFile(Str(dir / "out.txt")), 0);
    const std::string out = zvtest::ReadFileBytes(dir / "out.txt");
    EXPECT_EQ(out.size(), 24u);
    EXPECT_EQ(out.find("secret"), std::string::npos);
}

TEST(AttachmentCrypter, CopyGivesADuplicateItsOwnStoredFile)
{
    zvtest::ScratchDir dir("att");
    const fs::path source = dir.WriteFile("p.txt", "shared contents");
    CAttachmentCrypter first("same key", "10.zfa", Str(dir.Path()));
    ASSERT_EQ(first.EncryptFromFile(Str(source)), 0);
    CAttachmentCrypter copy("same key", "11.zfa", Str(dir.Path()));
    EXPECT_NE(copy.CopyFromStoredFile("10.zfa"), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "11.zfa"), zvtest::ReadFileBytes(dir / "10.zfa"));
    ASSERT_EQ(copy.DecryptToFile(Str(dir / "out.txt")), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "out.txt"), std::string("shared contents\0", 16));
    EXPECT_EQ(copy.CopyFromStoredFile("404.zfa"), 0);
}

TEST(AttachmentFiles, TwoRecordsWithTheSameNameHaveDifferentStoredFiles)
{
    CRecord a, b;
    a.SetId(0x1A2B);
    b.SetId(0);
    a.SetAttachmentName("scan.pdf");
    b.SetAttachmentName("scan.pdf");
    EXPECT_EQ(a.GetAttachmentFileName(), "1a2b.zfa");
    EXPECT_EQ(b.GetAttachmentFileName(), "0.zfa");
}

TEST(AttachmentKeys, TwentyCharactersOfTheFourClasses)
{
    const std::string symbols = "`~!@#$%^&*()-_=+[{]}\\|'\";:,<.>/?";
    CString previous;
    for (int round = 0; round < 20; ++round) {
        const CString key = NewAttachmentKeyText();
        ASSERT_EQ(key.GetLength(), 20);
        for (char c : key.Std())
            EXPECT_TRUE(isalnum(static_cast<unsigned char>(c)) || symbols.find(c) != std::string::npos) << c;
        EXPECT_NE(key, previous);
        previous = key;
    }
}
