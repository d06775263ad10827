// The self-wiping password text: every buffer it lets go of is zero before
// it is freed, and a new text never leaves the old one behind.
#include "core/crypto/SecretString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/CString.h"

namespace {

struct Released {
    const char* buffer;
    size_t size;
    bool zero;
};

std::vector<Released> g_released;

void Observe(const char* buffer, size_t size)
{
    bool zero = true;
    for (size_t i = 0; i < size; ++i) zero = zero && buffer[i] == '\0';
    g_released.push_back({buffer, size, zero});
}

class SecretString : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_released.clear();
        SetSecretWipeObserver(&Observe);
    }
    void TearDown() override { SetSecretWipeObserver(nullptr); }

    // The releases since the last look (the allocator may hand a freed
    // address out again, so earlier ones are forgotten).
    static std::vector<Released> TakeReleased() { return std::exchange(g_released, {}); }

    // Exactly one buffer was let go of since the last look: that one, wiped
    // whole.
    static void ExpectOneWipe(const char* buffer, size_t size)
    {
        const std::vector<Released> released = TakeReleased();
        ASSERT_EQ(released.size(), 1u);
        EXPECT_EQ(released[0].buffer, buffer);
        EXPECT_EQ(released[0].size, size);
        EXPECT_TRUE(released[0].zero) << "freed with the text still in it";
    }
};

TEST_F(SecretString, EmptyWipesTheBufferBeforeFreeingIt)
{
    CSecretString secret("hunter2");
    const char* buffer = secret.c_str();
    secret.Empty();
    ExpectOneWipe(buffer, 8);
    EXPECT_TRUE(secret.IsEmpty());
    EXPECT_STREQ(secret.c_str(), "");
}

TEST_F(SecretString, DestructionWipesTheBuffer)
{
    const char* buffer = nullptr;
    {
        CSecretString secret(CString("correct horse battery staple"));
        buffer = secret.c_str();
        EXPECT_TRUE(g_released.empty());
    }
    ExpectOneWipe(buffer, 29);
}

TEST_F(SecretString, AssigningALongerOrShorterTextWipesTheOldBuffer)
{
    CSecretString secret("short");
    const char* first = secret.c_str();
    secret = "a much longer password than before, to grow";
    ExpectOneWipe(first, 6);
    EXPECT_STREQ(secret.c_str(), "a much longer password than before, to grow");

    const char* second = secret.c_str();
    secret = CSecretString("tiny");
    ExpectOneWipe(second, 44);
    EXPECT_EQ(secret.GetLength(), 4);

    const char* third = secret.c_str();
    secret = "";
    ExpectOneWipe(third, 5);
    EXPECT_TRUE(secret.IsEmpty());
}

TEST_F(SecretString, CopiesAreSeparateAndEachIsWiped)
{
    const char* original = nullptr;
    const char* copied = nullptr;
    {
        CSecretString secret("Secret42");
        CSecretString copy(secret);
        original = secret.c_str();
        copied = copy.c_str();
        EXPECT_NE(original, copied);
        EXPECT_TRUE(copy == secret);
        CSecretString assigned;
        assigned = secret;
        const CSecretString& same = assigned;
        assigned = same;  // assigning itself keeps the text
        EXPECT_STREQ(assigned.c_str(), "Secret42");
    }
    const std::vector<Released> released = TakeReleased();
    ASSERT_EQ(released.size(), 3u);
    for (const Released& r : released) {
        EXPECT_EQ(r.size, 9u);
        EXPECT_TRUE(r.zero) << "freed with the text still in it";
    }
    auto freed = [&](const char* buffer) {
        int n = 0;
        for (const Released& r : released) n += r.buffer == buffer ? 1 : 0;
        return n;
    };
    EXPECT_EQ(freed(original), 1);
    EXPECT_EQ(freed(copied), 1);
}

TEST_F(SecretString, MovingHandsTheBufferOverWithoutACopy)
{
    CSecretString source("moved text");
    const char* buffer = source.c_str();
    CSecretString target(std::move(source));
    EXPECT_EQ(target.c_str(), buffer);
    EXPECT_TRUE(source.IsEmpty());  // NOLINT: the moved-from state is empty
    EXPECT_TRUE(g_released.empty());

    CSecretString other("other text");
    const char* replaced = other.c_str();
    other = std::move(target);
    ExpectOneWipe(replaced, 11);
    EXPECT_EQ(other.c_str(), buffer);
    EXPECT_TRUE(target.IsEmpty());  // NOLINT
}

TEST_F(SecretString, TruncateZerosTheCutOffBytesInPlace)
{
    CSecretString secret;
    char* buffer = secret.GetBufferSetLength(12);
    EXPECT_EQ(std::string(buffer, 13), std::string(13, '\0'));
    memcpy(buffer, "typed", 5);
    secret.Truncate(5);
    EXPECT_EQ(secret.GetLength(), 5);
    EXPECT_STREQ(secret.c_str(), "typed");

    secret.Truncate(2);
    EXPECT_EQ(std::string(buffer, 13), std::string("ty") + std::string(11, '\0'));
    secret.Empty();
    ExpectOneWipe(buffer, 13);  // the whole buffer, not only what was left

    CSecretString replaced("old text");
    const char* old = replaced.c_str();
    replaced.GetBufferSetLength(3);
    ExpectOneWipe(old, 9);
}

TEST(SecretStringCompare, BytewiseUnsignedThenByLength)
{
    EXPECT_EQ(CSecretString("abc").Compare("abc"), 0);
    EXPECT_LT(CSecretString("abc").Compare("abd"), 0);
    EXPECT_GT(CSecretString("abd").Compare("abc"), 0);
    EXPECT_LT(CSecretString("ab").Compare("abc"), 0);
    EXPECT_GT(CSecretString("abc").Compare("ab"), 0);
    EXPECT_GT(CSecretString("\xe9").Compare("z"), 0) << "bytes from 0x80 sort after ASCII";
    EXPECT_LT(CSecretString("").Compare("a"), 0);
    EXPECT_EQ(CSecretString(nullptr).Compare(""), 0);
    // Case matters, as for passwords.
    EXPECT_TRUE(CSecretString("Secret42") != CSecretString("secret42"));
    // Zero bytes inside the text count.
    EXPECT_TRUE(CSecretString("a\0b", 3) != CSecretString("a\0c", 3));
    EXPECT_TRUE(CSecretString("a\0b", 3) != CSecretString("a"));
}

}  // namespace
