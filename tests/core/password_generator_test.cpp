#include "core/crypto/PasswordGenerator.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/crypto/Random.h"
#include "core/os/ProcessSeams.h"

namespace {

// The character classes, written out independently of the generator's tables.
const std::string kLower = "abcdefghijklmnopqrstuvwxyz";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kDigits = "0123456789";
const std::string kSymbols = "`~!@#$%^&*()-_=+[{]}\\|'\";:,<.>/?";
const std::string kLatin1 = "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
                            "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF";
const std::string* const kClasses[5] = {&kLower, &kUpper, &kDigits, &kSymbols, &kLatin1};

// Class number (0..4) of a character, -1 when it belongs to none.
int ClassOf(char c)
{
    for (int i = 0; i < 5; ++i)
        if (kClasses[i]->find(c) != std::string::npos) return i;
    return -1;
}

std::string FromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// Feeds the generator from a seeded MT19937 for the length of a test.
class SeededSource {
public:
    explicit SeededSource(uint32_t seed) : m_gen(seed)
    {
        SetPasswordRandomSource([this](uint32_t& v) {
            v = m_gen();
            ++m_draws;
            return true;
        });
    }
    ~SeededSource() { SetPasswordRandomSource(nullptr); }
    size_t Draws() const { return m_draws; }

private:
    std::mt19937 m_gen;
    size_t m_draws = 0;
};

// The random mode, restated: draw, keep the low byte when it is not zero and
// belongs to a chosen class, until the length is reached.
std::string RandomModeModel(uint32_t seed, int length, unsigned flags)
{
    std::string allowed;
    for (int i = 0; i < 5; ++i)
        if (flags & (1u << i)) allowed += *kClasses[i];
    std::mt19937 gen(seed);
    std::string out;
    while (int(out.size()) < length) {
        char c = char(gen() & 0xFF);
        if (c != 0 && allowed.find(c) != std::string::npos) out += c;
    }
    return out;
}

std::string Generate(int length, unsigned flags, WORD* result = nullptr)
{
    std::vector<char> buffer(size_t(length) + 32, '\x55');
    WORD r = GeneratePassword(WORD(length), flags, buffer.data());
    if (result) *result = r;
    return std::string(buffer.data());
}

TEST(PasswordGenerator, RandomModeMatchesTheModelUnderAFixedSeed)
{
    // Expected texts also computed by a separate MT19937 model in Python.
    struct Case {
        uint32_t seed;
        int length;
        unsigned flags;
        const char* hex;
    } cases[] = {
        {5489, 20, 0x0F, "5c792c2b63255f593752595c3b317a694c4c6d26"},
        {12345, 16, 0x10, "e2e5fee7effce2fbe0ebf8e3fbece0fb"},
        {1, 12, 0x04, "323931393439343936383530"},
        {77, 24, 0x1F, "5f54eb25e0753b76e43675237e5179e57c6128eaff336925"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        SeededSource source(c.seed);
        WORD result = 99;
        std::string pw = Generate(c.length, c.flags, &result);
        EXPECT_EQ(pw, FromHex(c.hex));
        EXPECT_EQ(pw, RandomModeModel(c.seed, c.length, c.flags));
        EXPECT_EQ(result, 0);
    }
    // Every class combination and a few lengths against the model.
    for (unsigned flags = 1; flags < 0x20; ++flags)
        for (int length : {0, 1, 7, 64}) {
            SCOPED_TRACE(testing::Message() << "flags " << flags << " length " << length);
            SeededSource source(flags * 131 + length);
            EXPECT_EQ(Generate(length, flags), RandomModeModel(flags * 131 + length, length, flags));
        }
}

TEST(PasswordGenerator, RandomModeClassEdgeCases)
{
    SeededSource source(2024);
    std::string pw = Generate(20, 0x0F);
    ASSERT_EQ(pw.size(), 20u);
    for (char c : pw) {
        int cls = ClassOf(c);
        EXPECT_GE(cls, 0);
        EXPECT_LE(cls, 3) << "no Latin-1 byte with 0x0F";
    }
    std::string latin = Generate(200, 0x10);
    ASSERT_EQ(latin.size(), 200u);
    for (char c : latin) {
        unsigned char u = (unsigned char)c;
        EXPECT_TRUE(u >= 0xE0 && u != 0xF7) << int(u);
    }
    // The division sign is never drawn even when the numbers give it.
    SetPasswordRandomSource([](uint32_t& v) {
        static int n = 0;
        v = (n++ % 2) ? 0xE0u : 0xF7u;
        return true;
    });
    EXPECT_EQ(Generate(3, 0x10), "\xE0\xE0\xE0");
    SetPasswordRandomSource(nullptr);
}

TEST(PasswordGenerator, NoClassGivesEmptyResult)
{
    for (unsigned flags : {0x00u, 0x20u, 0x40u, 0x60u}) {
        SeededSource source(3);
        WORD result = 99;
        EXPECT_EQ(Generate(12, flags, &result), "");
        EXPECT_EQ(result, 0);
        EXPECT_EQ(source.Draws(), 0u);
    }
    EXPECT_EQ(GeneratePassword(10, 0x0F, nullptr), 0);
}

TEST(PasswordGenerator, DefaultSourceIsNotTheSeededGenerator)
{
    // Passwords must not follow from the seed of the process-wide MT19937,
    // and making one must not disturb the item-id sequence.
    SeedRandom(42);
    std::string first = Generate(32, 0x0F);
    SeedRandom(42);
    std::string second = Generate(32, 0x0F);
    EXPECT_EQ(first.size(), 32u);
    EXPECT_NE(first, second);
    std::mt19937 reference(42);
    SeedRandom(42);
    Generate(32, 0x0F);
    Generate(20, 0x21);
    EXPECT_EQ(NextRandom(), reference());
}

TEST(PasswordGenerator, FailingSourceLeavesNoPassword)
{
    for (unsigned flags : {0x0Fu, 0x21u, 0x3Fu}) {
        for (int allowed : {0, 5, 40}) {
            SCOPED_TRACE(testing::Message() << "flags " << flags << " draws " << allowed);
            std::mt19937 gen(9);
            int left = allowed;
            SetPasswordRandomSource([&](uint32_t& v) {
                if (left-- <= 0) return false;
                v = gen();
                return true;
            });
            WORD result = 99;
            EXPECT_EQ(Generate(20, flags, &result), "");
            EXPECT_EQ(result, 0);
        }
    }
    SetPasswordRandomSource(nullptr);
    // The generator works again afterwards.
    SeededSource source(4);
    WORD result = 0;
    EXPECT_EQ(Generate(12, 0x21, &result).size(), 12u);
    EXPECT_EQ(result, 12);
}

// Splits a pronounceable password into runs of one class; the classes of
// consecutive syllables differ whenever two or more are chosen.
std::vector<int> ClassRuns(const std::string& pw)
{
    std::vector<int> runs;
    for (char c : pw) {
        int cls = ClassOf(c);
        if (runs.empty() || runs.back() != cls) runs.push_back(cls);
    }
    return runs;
}

TEST(PasswordGenerator, PronounceablePropertiesForEveryClassCombination)
{
    for (unsigned classes = 1; classes < 0x20; ++classes) {
        std::vector<int> chosen;
        for (int i = 0; i < 5; ++i)
            if (classes & (1u << i)) chosen.push_back(i);
        for (int length : {1, 2, 3, 8, 15, 30, 40, 200}) {
            for (uint32_t seed = 1; seed <= 6; ++seed) {
                SCOPED_TRACE(testing::Message() << "classes " << classes << " length " << length << " seed " << seed);
                SeededSource source(seed * 1000 + classes * 7 + length);
                WORD result = 0;
                std::string pw = Generate(length, classes | 0x20, &result);
                int expected = length > 30 ? 30 : length;
                ASSERT_EQ(int(pw.size()), expected);
                ASSERT_EQ(result, expected);
                for (char c : pw) {
                    int cls = ClassOf(c);
                    ASSERT_GE(cls, 0) << "character " << int((unsigned char)c);
                    ASSERT_TRUE(classes & (1u << cls)) << "class " << cls << " not chosen";
                }
                if (chosen.size() < 2) continue;
                // Syllables take the chosen classes in turn, from the lowest.
                std::vector<int> runs = ClassRuns(pw);
                for (size_t i = 0; i < runs.size(); ++i)
                    ASSERT_EQ(runs[i], chosen[i % chosen.size()]) << "syllable " << i;
            }
        }
    }
}

TEST(PasswordGenerator, PronounceableLowerCaseWordsAreBuiltFromUnits)
{
    // Plain FIPS 181 words: letters only, "q" only as part of "qu", and each
    // word contains a vowel.
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        SeededSource source(seed);
        std::string pw = Generate(4 + seed % 20, 0x21);
        ASSERT_EQ(pw.size(), 4 + seed % 20);
        for (size_t i = 0; i < pw.size(); ++i) {
            ASSERT_TRUE(pw[i] >= 'a' && pw[i] <= 'z');
            if (pw[i] == 'q') {
                ASSERT_TRUE(i + 1 < pw.size() && pw[i + 1] == 'u') << pw;
            }
        }
        EXPECT_NE(pw.find_first_of("aeiouy"), std::string::npos) << pw;
    }
}

TEST(PasswordGenerator, PronounceableEdgeCases)
{
    SeededSource source(11);
    WORD result = 99;
    EXPECT_EQ(Generate(0, 0x21, &result), "");
    EXPECT_EQ(result, 0);
    std::string digits = Generate(17, 0x24, &result);
    EXPECT_EQ(result, 17);
    EXPECT_EQ(digits.find_first_not_of(kDigits), std::string::npos) << digits;
    std::string mixed = Generate(40, 0x23, &result);
    EXPECT_EQ(result, 30);
    ASSERT_FALSE(mixed.empty());
    EXPECT_EQ(ClassOf(mixed[0]), 0) << "the first syllable is lower case: " << mixed;
    // Writing never goes past 31 bytes in the pronounceable mode.
    std::vector<char> buffer(64, '\x55');
    GeneratePassword(60000, 0x3F, buffer.data());
    EXPECT_EQ(buffer[30], '\0');
    EXPECT_EQ(buffer[31], '\x55');
}

}  // namespace
