#include <gtest/gtest.h>

#include <string>

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/CMemFile.h"
#include "tests/framework/ArchiveTestSupport.h"
#include "tests/support/FailingFile.h"
#include "tests/support/ScratchDir.h"

namespace {

std::string Str(const std::filesystem::path& p) { return p.string(); }

TEST(File, WritesReadsSeeksAndTruncates)
{
    zvtest::ScratchDir dir;
    const std::string path = Str(dir / "a.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        f.Write("hello world", 11);
        EXPECT_EQ(f.GetPosition(), 11u);
        EXPECT_EQ(f.GetLength(), 11u);
        EXPECT_EQ(f.GetFileName(), CString("a.bin"));
        f.Close();
        EXPECT_FALSE(f.IsOpen());
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "a.bin"), "hello world");
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyWrite));
        char buf[16] = {};
        EXPECT_EQ(f.Seek(6, CFile::begin), 6u);
        EXPECT_EQ(f.Read(buf, sizeof buf), 5u);  // short only at the end
        EXPECT_STREQ(buf, "world");
        EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
        f.SeekToBegin();
        f.Write("J", 1);
        f.SetLength(5);
        EXPECT_EQ(f.SeekToEnd(), 5u);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "a.bin"), "Jello");
    // modeCreate truncates unless modeNoTruncate is given.
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "a.bin"), "Jello");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "a.bin"), "");

    CFile::Rename(path.c_str(), Str(dir / "b.bin").c_str());
    EXPECT_TRUE(std::filesystem::exists(dir / "b.bin"));
    CFile::Remove(Str(dir / "b.bin").c_str());
    EXPECT_FALSE(std::filesystem::exists(dir / "b.bin"));
}

TEST(File, FailuresCarryCauseAndSystemCode)
{
    zvtest::ScratchDir dir;
    const std::string missing = Str(dir / "missing.bin");
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_lOsError, 2);  // ERROR_FILE_NOT_FOUND and ENOENT alike
    EXPECT_EQ(e.m_strFileName, CString(missing.c_str()));
    EXPECT_FALSE(f.IsOpen());

    try {
        CFile g(Str(dir / "no" / "such" / "x.bin").c_str(), CFile::modeCreate | CFile::modeWrite);
        FAIL() << "no exception";
    } catch (const CFileException& ex) {
        EXPECT_TRUE(ex.m_cause == CFileException::badPath || ex.m_cause == CFileException::fileNotFound);
        EXPECT_NE(ex.m_lOsError, 0);
    }
    EXPECT_THROW(CFile::Remove(missing.c_str()), CFileException);
    char c;
    EXPECT_THROW(f.Read(&c, 1), CFileException);  // not open
}

TEST(File, ArchiveThroughARealFile)
{
    zvtest::ScratchDir dir;
    const std::string path = Str(dir / "x.dat");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << CString("abc") << (WORD)7;
        ar.Close();
        f.Close();
    }
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "x.dat"), fwtest::Hex("03 61 62 63 07 00"));
    CFile f(path.c_str(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    CString s;
    ar >> s;
    ar.Close();
    // Closing a loading archive gives back what it had buffered ahead.
    EXPECT_EQ(f.GetPosition(), 4u);
}

TEST(MemFile, GrowsSeeksAndReads)
{
    CMemFile m;
    m.Write("abc", 3);
    m.Seek(5, CFile::begin);
    m.Write("z", 1);
    EXPECT_EQ(m.GetLength(), 6u);
    EXPECT_EQ(std::string(m.GetContents().begin(), m.GetContents().end()), std::string("abc\0\0z", 6));
    m.SeekToBegin();
    char buf[8];
    EXPECT_EQ(m.Read(buf, 8), 6u);
    EXPECT_EQ(m.Read(buf, 8), 0u);
    EXPECT_THROW(m.Seek(-7, CFile::end), CFileException);
    m.SetLength(2);
    EXPECT_EQ(m.GetPosition(), 2u);
    const BYTE init[] = {1, 2};
    CMemFile r(init, 2);
    EXPECT_EQ(r.GetLength(), 2u);
    EXPECT_EQ(r.GetPosition(), 0u);
    EXPECT_FALSE(r.Open("x", CFile::modeRead));
}

TEST(FailingFile, ArchiveWriteFailureReachesTheCaller)
{
    zvtest::FailingFile f;
    f.FailWritesAfter(3);
    try {
        CArchive ar(&f, CArchive::store, 4);  // small buffer: writes reach the file early
        ar << CString(std::string(500, 'x'));
        ar.Close();
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, 112);
    }
    EXPECT_EQ(f.GetLength(), 3u);
    EXPECT_EQ(f.Failures(), 1);

    // The failure can also wait for the closing flush.
    zvtest::FailingFile g;
    g.FailWritesAfter(2);
    CArchive ar(&g, CArchive::store);
    ar << (DWORD)1;
    EXPECT_THROW(ar.Close(), CFileException);
}

TEST(FailingFile, ArchiveReadFailureReachesTheCaller)
{
    const std::string bytes = fwtest::Hex("05 61 62 63 64 65");
    zvtest::FailingFile f(bytes.data(), (UINT)bytes.size());
    f.FailReadsAfter(3, CFileException::hardIO, 23);
    CArchive ar(&f, CArchive::load);
    CString s;
    try {
        ar >> s;
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::hardIO);
        EXPECT_EQ(e.m_lOsError, 23);
    }
    ar.Abort();
    EXPECT_EQ(f.BytesRead(), 3u);

    // Without a limit it is an ordinary memory file.
    zvtest::FailingFile g(bytes.data(), (UINT)bytes.size());
    CArchive ar2(&g, CArchive::load);
    ar2 >> s;
    EXPECT_EQ(s, CString("abcde"));
}

}  // namespace
