// The password verifier, the files it is read from, the database mutex and
// the master password manager.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "core/crypto/BlowfishKey.h"
#include "core/os/ProcessSeams.h"
#include "core/store/DatabaseObj.h"
#include "core/items/Record.h"
#include "core/store/DatabaseMutex.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "core/crypto/SecureZero.h"
#include "tests/core/packing_support.h"
#include "tests/support/ScratchDir.h"

using namespace packtest;
namespace fs = std::filesystem;

namespace {

// The verifier computed straight from the published cipher: the known text
// encrypted block by block.
std::vector<uint8_t> ExpectedVerifier(const std::string& password)
{
    auto key = Keyed(password);
    std::vector<uint8_t> v(VERIFIER_PLAINTEXT, VERIFIER_PLAINTEXT + kVerifierSize);
    BlowfishEncryptECB(key.get(), v.data(), v.data(), kVerifierSize);
    return v;
}

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// A user folder whose database file starts with the given bytes.
struct UserFolder {
    zvtest::ScratchDir dir{"zvpwd"};
    CString Folder() const { return CString(dir.Path().string().c_str()); }
    CString File() const { return CString((dir / kDatabaseFileName).string().c_str()); }
    void WriteDatabase(const std::string& head) const { dir.WriteFile(kDatabaseFileName, head + std::string(60, 'x')); }
};

}  // namespace

TEST(Verifier, KnownTextIs39PrintableCharactersAndAZero)
{
    for (int i = 0; i < kVerifierSize - 1; ++i)
        EXPECT_TRUE(VERIFIER_PLAINTEXT[i] >= 0x20 && VERIFIER_PLAINTEXT[i] < 0x7F) << i;
    EXPECT_EQ(0, VERIFIER_PLAINTEXT[kVerifierSize - 1]);
}

TEST(Verifier, MadeForStoringAndForChecking)
{
    struct Case {
        const char* password;
        std::vector<uint8_t> stored;   // MakePasswordVerifier
        std::vector<uint8_t> checked;  // MakeCheckVerifier
    } cases[] = {
        {"", std::vector<uint8_t>(40, 0), ExpectedVerifier(std::string(1, '\0'))},
        {"secret", ExpectedVerifier("secret"), ExpectedVerifier("secret")},
        {"A", ExpectedVerifier("AAAA"), ExpectedVerifier("AA")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        uint8_t out[kVerifierSize];
        ASSERT_EQ(0, MakePasswordVerifier(c.password, out));
        EXPECT_EQ(ToHex(c.stored), ToHex(std::vector<uint8_t>(out, out + 40)));
        ASSERT_EQ(0, MakeCheckVerifier(c.password, out));
        EXPECT_EQ(ToHex(c.checked), ToHex(std::vector<uint8_t>(out, out + 40)));
    }
}

TEST(Verifier, FilesAndPasswordsTable)
{
    const std::string zeros(40, '\0');
    const std::string pw = Bytes(ExpectedVerifier("pw"));
    const std::string long72 = std::string(72, 'L');
    const std::string longVerifier = Bytes(ExpectedVerifier(long72 + "tail one"));
    struct Case {
        const char* what;
        int kind;  // 0 missing, 1 file with head, 2 short file, 3 unreadable
        std::string head;
        bool hasPassword;
        const CString* password;
        bool checks;
    };
    const CString empty(""), right("pw"), wrong("pW"), otherTail((long72 + "other tail").c_str());
    const Case cases[] = {
        {"missing, no password given", 0, "", false, nullptr, true},
        {"missing, empty password", 0, "", false, &empty, false},
        {"no password, empty password", 1, zeros, false, &empty, false},
        {"no password, none given", 1, zeros, false, nullptr, true},
        {"protected, right", 1, pw, true, &right, true},
        {"protected, wrong", 1, pw, true, &wrong, false},
        {"protected, empty", 1, pw, true, &empty, false},
        {"long password, same first 72 bytes", 1, longVerifier, true, &otherTail, true},
        {"short file", 2, "abc", true, &empty, false},
        {"unreadable file", 3, "", true, &empty, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UserFolder user;
        if (c.kind == 1)
            user.WriteDatabase(c.head);
        else if (c.kind == 2)
            user.dir.WriteFile(kDatabaseFileName, c.head);
        else if (c.kind == 3)
            fs::create_directories(user.dir / kDatabaseFileName);
        EXPECT_EQ(c.hasPassword, DatabaseFileHasPassword(user.File()));
        EXPECT_EQ(c.hasPassword, UserHasMasterPassword(user.Folder()));
        EXPECT_EQ(c.checks, CheckDatabasePassword(user.File(), c.password));

        uint8_t v[kVerifierSize];
        const int read = ReadUserDbVerifier(v, user.Folder());
        if (c.kind == 0)
            EXPECT_EQ(kVerifierNoFile, read);
        else if (c.kind == 1)
            EXPECT_EQ(0, read);
        else
            EXPECT_NE(0, read) << "an unreadable file is an error, not 'no password'";
        if (read == 0)
            EXPECT_EQ(ToHex(std::vector<uint8_t>(c.head.begin(), c.head.end())),
                      ToHex(std::vector<uint8_t>(v, v + 40)));
        else
            EXPECT_TRUE(VerifierIsZero(v));
    }
}

TEST(MasterPassword, VerifyPasswordTable)
{
    struct Case {
        const char* what;
        int kind;  // 0 missing, 1 zero verifier, 2 "pw", 3 unreadable
        const char* password;
        bool accepted;
    } cases[] = {
        {"no file, empty", 0, "", true},     {"no file, any", 0, "x", false},     {"no password, empty", 1, "", true},
        {"no password, any", 1, "x", false}, {"protected, right", 2, "pw", true}, {"protected, wrong", 2, "px", false},
        {"protected, empty", 2, "", false},  {"unreadable, empty", 3, "", false}, {"unreadable, any", 3, "pw", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UserFolder user;
        if (c.kind == 1)
            user.WriteDatabase(std::string(40, '\0'));
        else if (c.kind == 2)
            user.WriteDatabase(Bytes(ExpectedVerifier("pw")));
        else if (c.kind == 3)
            fs::create_directories(user.dir / kDatabaseFileName);
        EXPECT_EQ(c.accepted, GetMasterPwdMgr()->VerifyPassword(user.Folder(), c.password));
    }
}

TEST(MasterPassword, SetAndClearThePassword)
{
    auto manager = GetMasterPwdMgr();
    EXPECT_EQ(manager, GetMasterPwdMgr());
    ASSERT_EQ(0, manager->SetPassword(CString("one")));
    BlowfishKeyPtr held = manager->GetKey();
    ASSERT_TRUE(held);
    auto expected = Keyed("one");
    EXPECT_EQ(0, memcmp(expected.get(), held.get(), sizeof(BlowfishContext)));
    // Replacing the key leaves a holder's copy intact.
    manager->SetPassword(CString("two"));
    EXPECT_EQ(0, memcmp(expected.get(), held.get(), sizeof(BlowfishContext)));
    EXPECT_NE(held, manager->GetKey());
    manager->SetPassword(CString(""));
    EXPECT_FALSE(manager->HasPassword());
    manager->SetPassword(CString("three"));
    manager->SetPassword(nullptr);
    EXPECT_FALSE(manager->HasPassword());
    manager->SetPassword(CString("four"));
    manager->ClearPassword();
    EXPECT_FALSE(manager->GetKey());
}

TEST(MasterPassword, StoreNewPasswordTakesTheKeyOnlyWhenTheSaveSucceeds)
{
    auto manager = GetMasterPwdMgr();
    manager->SetPassword(CString("old"));
    const BlowfishKeyPtr oldKey = manager->GetKey();

    // The key given to the save lives only as long as the change: keep a copy.
    std::vector<uint8_t> savedVerifier;
    BlowfishContext savedContext{};
    const BlowfishContext* savedKey = nullptr;
    auto remember = [&](const uint8_t v[kVerifierSize], const BlowfishContext* key) {
        savedVerifier.assign(v, v + kVerifierSize);
        savedKey = key ? &savedContext : nullptr;
        if (key) savedContext = *key;
    };
    auto failingSave = [&](const uint8_t v[kVerifierSize], const BlowfishContext* key) {
        remember(v, key);
        return 112;  // disk full
    };
    EXPECT_EQ(112, manager->StoreNewPassword("new", failingSave));
    EXPECT_EQ(ToHex(ExpectedVerifier("new")), ToHex(savedVerifier));
    auto newKey = Keyed("new");
    ASSERT_TRUE(savedKey);
    EXPECT_EQ(0, memcmp(newKey.get(), savedKey, sizeof(BlowfishContext)));
    EXPECT_EQ(oldKey, manager->GetKey()) << "a failed change keeps the old key";

    auto goodSave = [&](const uint8_t v[kVerifierSize], const BlowfishContext* key) {
        remember(v, key);
        return 0;
    };
    EXPECT_EQ(0, manager->StoreNewPassword("new", goodSave));
    ASSERT_TRUE(manager->GetKey());
    EXPECT_EQ(0, memcmp(newKey.get(), manager->GetKey().get(), sizeof(BlowfishContext)));

    // An empty password: zeros, the save runs plain, the manager has no key.
    EXPECT_EQ(0, manager->StoreNewPassword("", goodSave));
    EXPECT_TRUE(VerifierIsZero(savedVerifier.data()));
    EXPECT_EQ(nullptr, savedKey);
    EXPECT_FALSE(manager->HasPassword());
}

namespace {
std::atomic<int> g_wiped{0};
std::atomic<int> g_notWiped{0};
void CountWipe(const void* p, size_t n)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(p);
    bool zero = n == sizeof(BlowfishContext);
    for (size_t i = 0; i < n; ++i) zero = zero && bytes[i] == 0;
    (zero ? g_wiped : g_notWiped)++;
}
}  // namespace

TEST(Secrets, TheMasterKeyIsWipedWhenLockingOrSwitchingUsers)
{
    g_wiped = g_notWiped = 0;
    SetKeyWipeObserver(&CountWipe);
    auto manager = GetMasterPwdMgr();
    manager->SetPassword(CString("first user"));
    manager->SetPassword(CString("second user"));  // user switch
    EXPECT_EQ(1, g_wiped.load());
    {
        BlowfishKeyPtr inUse = manager->GetKey();
        manager->ClearPassword();  // lock while a save still holds the key
        EXPECT_EQ(1, g_wiped.load()) << "still in use: not wiped yet";
    }
    EXPECT_EQ(2, g_wiped.load());
    // The verifier's own schedule goes the same way.
    uint8_t v[kVerifierSize];
    MakeCheckVerifier("typed password", v);
    EXPECT_EQ(3, g_wiped.load());
    EXPECT_EQ(0, g_notWiped.load());
    SetKeyWipeObserver(nullptr);
}

TEST(MasterPassword, ChangingTheDatabasePasswordReEncryptsOrLeavesEverythingAsItWas)
{
    zvtest::ScratchDir scratch("zvchange");
    const CString folder(scratch.Path().string().c_str());
    auto manager = GetMasterPwdMgr();
    manager->ClearPassword();
    CDatabaseObj db;
    ASSERT_EQ(0, db.OpenInFolder(folder));
    CRecord* record = static_cast<CRecord*>(db.GetRecords().NewItem());
    record->SetField(0, "kept secret");
    db.GetRecords().Add(record);
    ASSERT_EQ(0, db.Save());
    const std::string before = zvtest::ReadFileBytes(scratch / kDatabaseFileName);

    // A save that fails: key, verifier and file stay as they were.
    db.SetReadOnly();
    EXPECT_NE(0, manager->StoreNewPassword("new", db));
    EXPECT_FALSE(manager->HasPassword());
    EXPECT_TRUE(VerifierIsZero(db.GetVerifier()));
    EXPECT_EQ(before, zvtest::ReadFileBytes(scratch / kDatabaseFileName));

    db.ClearReadOnly();
    ASSERT_EQ(0, manager->StoreNewPassword("new", db));
    ASSERT_TRUE(manager->HasPassword());
    EXPECT_EQ(Bytes(ExpectedVerifier("new")), Bytes(std::vector<uint8_t>(db.GetVerifier(), db.GetVerifier() + 40)));
    const std::string after = zvtest::ReadFileBytes(scratch / kDatabaseFileName);
    EXPECT_EQ(Bytes(ExpectedVerifier("new")), after.substr(0, 40));
    EXPECT_EQ(std::string::npos, after.find("kept secret")) << "the record is encrypted now";

    CDatabaseObj reread;
    auto key = Keyed("new");
    ASSERT_EQ(0, reread.Load(CString((scratch / kDatabaseFileName).string().c_str()), key.get()));
    ASSERT_EQ(1, reread.GetRecords().GetCount());
    EXPECT_EQ("kept secret", static_cast<CRecord*>(reread.GetRecords().GetHead())->GetField(0));
    manager->ClearPassword();
}

TEST(Secrets, SecureZeroClearsEveryByte)
{
    std::vector<uint8_t> buffer(4168, 0xA5);
    SecureZero(buffer.data(), buffer.size());
    EXPECT_EQ(std::vector<uint8_t>(4168, 0), buffer);
    SecureZero(nullptr, 10);
}

TEST(Secrets, SecureWipeZerosAPasswordTextBeforeEmptyingIt)
{
    CString password(std::string(100, 'p').c_str());  // long enough to live on the heap
    const char* storage = password.GetBuffer();
    password.ReleaseBuffer();
    SecureWipe(password);
    EXPECT_TRUE(password.IsEmpty());
    // Emptying keeps the string's storage, so the old characters can be looked at.
    EXPECT_EQ(storage, static_cast<const char*>(password));
    EXPECT_EQ(std::string(100, '\0'), std::string(storage, 100));

    CString empty;
    SecureWipe(empty);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(DatabaseMutex, HeldByOneThreadAtATimeAndAgainByItsHolder)
{
    CDatabaseMutexLock outer;
    ASSERT_TRUE(outer.IsLocked());
    {
        CDatabaseMutexLock inner(0);
        EXPECT_TRUE(inner.IsLocked()) << "the holder may take it again";
    }
    int otherError = 0;
    std::thread other([&] {
        CDatabaseMutexLock lock(50);
        otherError = lock.Error();
    });
    other.join();
    EXPECT_EQ(kDatabaseMutexTimeout, otherError);
}

TEST(DatabaseMutex, AVerifierReadWaitsForTheHolder)
{
    UserFolder user;
    user.WriteDatabase(Bytes(ExpectedVerifier("pw")));
    std::atomic<bool> held{false};
    std::thread holder([&] {
        CDatabaseMutexLock lock;
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    while (!held) std::this_thread::yield();
    uint8_t v[kVerifierSize];
    EXPECT_EQ(0, ReadPasswordVerifier(user.File(), v));
    holder.join();
    EXPECT_EQ(ToHex(ExpectedVerifier("pw")), ToHex(std::vector<uint8_t>(v, v + 40)));
}
