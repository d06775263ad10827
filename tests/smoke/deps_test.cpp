// The third-party libraries link and work in this configuration.
#include <gtest/gtest.h>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <boost/xpressive/xpressive.hpp>

#include "tests/support/ScratchDir.h"

TEST(Dependencies, ZlibRoundTrip)
{
    const std::string text(5000, 'z');
    uLongf packedSize = compressBound(text.size());
    std::string packed(packedSize, '\0');
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(text.data()),
                       text.size()),
              Z_OK);
    std::string back(text.size(), '\0');
    uLongf backSize = back.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&back[0]), &backSize, reinterpret_cast<const Bytef*>(packed.data()),
                         packedSize),
              Z_OK);
    EXPECT_EQ(back, text);
}

TEST(Dependencies, MinizipWritesAndReadsAnArchive)
{
    zvtest::ScratchDir dir;
    const std::string zipPath = (dir / "a.zip").string();
    zipFile zf = zipOpen(zipPath.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    ASSERT_EQ(zipOpenNewFileInZip(zf, "note.txt", nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION),
              ZIP_OK);
    const char body[] = "secret note";
    ASSERT_EQ(zipWriteInFileInZip(zf, body, sizeof(body) - 1), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zf), ZIP_OK);
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);

    unzFile uf = unzOpen(zipPath.c_str());
    ASSERT_NE(uf, nullptr);
    ASSERT_EQ(unzLocateFile(uf, "note.txt", 0), UNZ_OK);
    ASSERT_EQ(unzOpenCurrentFile(uf), UNZ_OK);
    char out[64] = {};
    EXPECT_EQ(unzReadCurrentFile(uf, out, sizeof(out)), static_cast<int>(sizeof(body) - 1));
    EXPECT_STREQ(out, body);
    unzCloseCurrentFile(uf);
    unzClose(uf);
}

TEST(Dependencies, XpressiveMatches)
{
    using namespace boost::xpressive;
    sregex digits = sregex::compile("[0-9]+");
    EXPECT_TRUE(regex_search(std::string("abc123"), digits));
    EXPECT_FALSE(regex_search(std::string("abcdef"), digits));
}
