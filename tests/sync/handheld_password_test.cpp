#include <gtest/gtest.h>

#include "core/store/PasswordVerifier.h"
#include "sync/session/HandheldPasswordCheck.h"
#include "tests/support/ScratchDir.h"

namespace {

using zvtest::ScratchDir;

enum class Crib { kNone, kRight, kShort, kLong, kWrong, kZero };

struct PasswordCase {
    const char* desktopPassword;  // nullptr: no database file yet
    Crib crib;
    const char* handheldPassword;
    bool matches;
};

std::vector<uint8_t> MakeCrib(Crib crib, const uint8_t verifier[kVerifierSize])
{
    std::vector<uint8_t> bytes(verifier, verifier + kVerifierSize);
    switch (crib) {
    case Crib::kNone: return {};
    case Crib::kRight: return bytes;
    case Crib::kShort: bytes.pop_back(); return bytes;
    case Crib::kLong: bytes.push_back(0); return bytes;
    case Crib::kWrong: bytes[17] ^= 1; return bytes;
    case Crib::kZero: return std::vector<uint8_t>(kVerifierSize, 0);
    }
    return bytes;
}

TEST(HandheldPasswordCheck, CribAndPasswordMustBothAgreeWithTheDesktopFile)
{
    const PasswordCase cases[] = {
        {"secret", Crib::kRight, "secret", true},
        // A crib copied from the file does not stand in for the password.
        {"secret", Crib::kRight, "guess", false},
        {"secret", Crib::kRight, "", false},
        {"secret", Crib::kWrong, "secret", false},
        // Only the whole 40 bytes count.
        {"secret", Crib::kShort, "secret", false},
        {"secret", Crib::kLong, "secret", false},
        {"secret", Crib::kNone, "secret", false},
        {"secret", Crib::kZero, "", false},
        {"", Crib::kNone, "", true},
        {"", Crib::kZero, "", true},
        {"", Crib::kNone, "secret", false},
        {"", Crib::kWrong, "", false},
        {nullptr, Crib::kNone, "", true},
        {nullptr, Crib::kNone, "secret", false},
    };
    for (const PasswordCase& c : cases) {
        ScratchDir dir("hhpw");
        uint8_t verifier[kVerifierSize] = {};
        const auto file = dir / "ZorvikanDatabase.zdb";
        if (c.desktopPassword) {
            ASSERT_EQ(MakePasswordVerifier(CSecretString(c.desktopPassword), verifier), 0);
            dir.WriteFile("ZorvikanDatabase.zdb",
                          std::string(reinterpret_cast<const char*>(verifier), kVerifierSize) + std::string(60, 'x'));
        } else {
            ASSERT_EQ(MakePasswordVerifier(CSecretString("secret"), verifier), 0);
        }
        const bool matches = HandheldPasswordMatches(CString(file.string().c_str()), MakeCrib(c.crib, verifier),
                                                     CSecretString(c.handheldPassword));
        EXPECT_EQ(matches, c.matches) << (c.desktopPassword ? c.desktopPassword : "(no file)") << " crib "
                                      << static_cast<int>(c.crib) << " password " << c.handheldPassword;
    }
}

TEST(HandheldPasswordCheck, AFileThatCannotBeReadMatchesNothing)
{
    ScratchDir dir("hhpw");
    const auto file = dir.WriteFile("ZorvikanDatabase.zdb", "short");
    EXPECT_FALSE(HandheldPasswordMatches(CString(file.string().c_str()), {}, CSecretString("")));
}

}  // namespace
