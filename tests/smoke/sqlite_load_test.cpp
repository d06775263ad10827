// The program loads SQLite by name at run time from its own folder.
#include <gtest/gtest.h>

#include <windows.h>

TEST(Dependencies, SqliteDllLoadsByName)
{
    HMODULE lib = LoadLibraryA("sqlite3.dll");
    ASSERT_NE(lib, nullptr) << "error " << GetLastError();
    using LibVersion = const char* (*)();
    auto version = reinterpret_cast<LibVersion>(GetProcAddress(lib, "sqlite3_libversion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version()[0], '3');
    FreeLibrary(lib);
}
