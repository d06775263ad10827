#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/os/ProcessSeams.h"
#include "core/prefs/LegacyPrefs.h"
#include "core/users/Platform.h"
#include "core/prefs/Registry.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchRegistry.h"

namespace {

const char kRoot[] = "software\\corvantide\\zorvikan desktop\\";
const char kPlatformSection[] = "Preferences iPhone";

std::unique_ptr<CUserItem> MakeUser(const char* display, const char* key, const char* prefix)
{
    auto user = std::make_unique<CUserItem>(zvtest::MakeUserRecord(display, key, kPlatformTypeHandheld));
    user->SetLegacyKey(prefix);
    return user;
}

DWORD ValueType(const char* path, const char* name)
{
    CRegistry key(HKEY_CURRENT_USER, path);
    DWORD type = 0, size = 0;
    if (!key.OpenKey() || !key.ReadValue(name, nullptr, size, &type)) return REG_NONE;
    return type;
}

class Registry : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_hive.IsActive()) << "private HKEY_CURRENT_USER not available"; }
    zvtest::ScratchRegistry m_hive;
};

TEST_F(Registry, ScratchHiveIsPrivateAndGoesAway)
{
    std::string path;
    {
        zvtest::ScratchRegistry inner;
        ASSERT_TRUE(inner.IsActive());
        CRegistry key(HKEY_CURRENT_USER, "Software\\ZvProbe");
        ASSERT_TRUE(key.CreateKey());
        EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists("Software\\ZvProbe"));
    }
    // Back in the outer scratch hive, which never saw the key.
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\ZvProbe"));
}

TEST_F(Registry, KeyLifetimeAndClose)
{
    CRegistry none;
    EXPECT_FALSE(none.OpenKey());
    EXPECT_FALSE(none.CloseKey());

    CRegistry missing(HKEY_CURRENT_USER, "Software\\Nowhere");
    EXPECT_FALSE(missing.OpenKey());
    EXPECT_EQ(missing.GetKey(), nullptr);

    {
        CRegistry key(HKEY_CURRENT_USER, "Software\\ZvKey");
        ASSERT_TRUE(key.CreateKey());
        EXPECT_TRUE(key.WriteString("Name", "value"));
        // destroyed open: closes the key
    }
    CRegistry key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\ZvKey"));
    EXPECT_TRUE(key.CloseKey());
    EXPECT_FALSE(key.CloseKey());
    EXPECT_FALSE(key.WriteString("Name", "x")) << "nothing open";
}

TEST_F(Registry, ValuesReadAndWrite)
{
    CRegistry key(HKEY_CURRENT_USER, "Software\\ZvValues");
    ASSERT_TRUE(key.CreateKey());
    ASSERT_TRUE(key.WriteString("Text", "hello"));
    EXPECT_EQ(key.GetValueSize("Text"), 6u) << "text plus its terminating zero";
    ASSERT_TRUE(key.WriteString("Empty", ""));
    const BYTE embedded[] = {'a', 'b', 0, 'c', 'd'};
    ASSERT_TRUE(key.WriteBinary("Embedded", embedded, sizeof embedded));
    ASSERT_TRUE(key.WriteDWORD("Number", 0x12345678));
    EXPECT_EQ(key.GetValueSize("Absent"), 0u);

    CString text("unchanged");
    EXPECT_FALSE(key.ReadString("Absent", text));
    EXPECT_EQ(text, "unchanged");
    // An empty string value: false, the text stays.
    EXPECT_EQ(key.GetValueSize("Empty"), 1u);
    EXPECT_TRUE(key.ReadString("Text", text));
    EXPECT_EQ(text, "hello");
    EXPECT_TRUE(key.ReadString("Embedded", text));
    EXPECT_EQ(text, "ab") << "cut at the first zero byte";

    DWORD number = 0;
    EXPECT_TRUE(key.ReadDWORD("Number", number));
    EXPECT_EQ(number, 0x12345678u);
    EXPECT_FALSE(key.ReadDWORD("Text", number));

    BYTE buffer[16];
    DWORD size = sizeof buffer, type = 0;
    ASSERT_TRUE(key.ReadValue("Embedded", buffer, size, &type));
    EXPECT_EQ(size, sizeof embedded);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_TRUE(key.DeleteValue("Embedded"));
    EXPECT_FALSE(key.DeleteValue("Embedded"));

    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, "Software\\ZvValues", "Text", "default"), "hello");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, "Software\\ZvValues", "Absent", "default"), "default");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, "Software\\Nowhere", "Text", "default"), "default");
}

TEST_F(Registry, EmptyStringValueLeavesTheTextUnchanged)
{
    CRegistry key(HKEY_CURRENT_USER, "Software\\ZvEmpty");
    ASSERT_TRUE(key.CreateKey());
    // A REG_SZ of zero bytes, as some writers leave it.
    ASSERT_EQ(RegSetValueExA(key.GetKey(), "Zero", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    CString text("kept");
    EXPECT_FALSE(key.ReadString("Zero", text));
    EXPECT_EQ(text, "kept");
}

const char kParent[] = "Software\\Corvantide\\Zorvikan Desktop\\";

TEST_F(Registry, RenameMovesValuesWithTheirTypes)
{
    CRegistry old(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop\\Preferences");
    ASSERT_TRUE(old.CreateKey());
    ASSERT_TRUE(old.WriteString("A", "text"));
    ASSERT_TRUE(old.WriteDWORD("B", 7));
    // A value past the old 16384-byte buffers and the unnamed value travel too.
    std::vector<BYTE> big(20000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = BYTE(i * 7);
    ASSERT_TRUE(old.WriteBinary("Big", big.data(), DWORD(big.size())));
    ASSERT_TRUE(old.WriteString("", "default"));
    ASSERT_TRUE(old.WriteString("Z", "after the unnamed value"));
    old.CloseKey();

    EXPECT_TRUE(RenameRegistryKey("Preferences", CString(kParent) + "Preferences iPhone", kParent));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences"));
    const char* moved = "Software\\Corvantide\\Zorvikan Desktop\\Preferences iPhone";
    EXPECT_EQ(ValueType(moved, "A"), DWORD(REG_SZ));
    EXPECT_EQ(ValueType(moved, "B"), DWORD(REG_DWORD));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, moved, "A", ""), "text");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, moved, "", ""), "default");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, moved, "Z", ""), "after the unnamed value");
    CRegistry key(HKEY_CURRENT_USER, moved);
    ASSERT_TRUE(key.OpenKey());
    std::vector<BYTE> back(30000);
    DWORD size = DWORD(back.size());
    ASSERT_TRUE(key.ReadValue("Big", back.data(), size));
    back.resize(size);
    EXPECT_EQ(back, big);
}

TEST_F(Registry, RenameOfAMissingKeyOnlyCreatesTheNewOne)
{
    CRegistry parent(HKEY_CURRENT_USER, kParent);
    ASSERT_TRUE(parent.CreateKey());
    EXPECT_TRUE(RenameRegistryKey("Preferences", CString(kParent) + "Preferences iPhone", kParent));
    EXPECT_TRUE(zvtest::ScratchRegistry::KeyExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences iPhone"));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences"));
    // Without the parent nothing happens at all.
    EXPECT_FALSE(RenameRegistryKey("Preferences", "Software\\Else\\New", "Software\\Else\\"));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\Else"));
}

TEST_F(Registry, RenameKeepsTheOldKeyUnlessEverythingMoved)
{
    // A key with sub-keys cannot go; its values are copied and it stays.
    CRegistry old(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop\\Preferences");
    ASSERT_TRUE(old.CreateKey());
    ASSERT_TRUE(old.WriteString("A", "text"));
    CRegistry child(HKEY_CURRENT_USER, "Software\\Corvantide\\Zorvikan Desktop\\Preferences\\Child");
    ASSERT_TRUE(child.CreateKey());
    child.CloseKey();
    old.CloseKey();
    EXPECT_FALSE(RenameRegistryKey("Preferences", CString(kParent) + "Preferences iPhone", kParent));
    EXPECT_TRUE(zvtest::ScratchRegistry::ValueExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences", "A"));
    EXPECT_TRUE(
        zvtest::ScratchRegistry::ValueExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences iPhone", "A"));

    // Renaming a key onto itself keeps it.
    EXPECT_FALSE(RenameRegistryKey("Preferences", CString(kParent) + "Preferences", kParent));
    EXPECT_TRUE(zvtest::ScratchRegistry::ValueExists("Software\\Corvantide\\Zorvikan Desktop\\Preferences", "A"));
}

// ---- legacy preferences ----

int g_platformAnswers[4] = {1, 1, 2, 0};

int FakeEnumerate(int index, const char*, void* buffer)
{
    if (index > 3) return 0;
    auto* record = static_cast<UserRecord*>(buffer);
    std::string display = "User " + std::to_string(index);
    std::string key = "key" + std::to_string(index);
    SetUserRecordText(record->displayName, sizeof(record->displayName), display.c_str());
    SetUserRecordText(record->keyName, sizeof(record->keyName), key.c_str());
    record->platformType = kPlatformTypeHandheld;
    return g_platformAnswers[index];
}

void* FakeResolver(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Manager && std::strcmp(name, "EnumeratePlatformUsers") == 0)
        return reinterpret_cast<void*>(&FakeEnumerate);
    return nullptr;
}

std::vector<CUserItem*> Users(CUserList& list)
{
    std::vector<CUserItem*> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(static_cast<CUserItem*>(list.GetNext(pos)));
    return out;
}

TEST_F(Registry, LegacyEnumerationTakesPlatformAndStandaloneUsers)
{
    for (const char* name :
         {" - _Standalone_Home", "Standalone - _Standalone_", "iPhone - someone", "Preferences iPhone"}) {
        CRegistry key(HKEY_CURRENT_USER, (CString(kRoot) + name));
        ASSERT_TRUE(key.CreateKey());
    }
    PlatformExportResolver previous = SetPlatformExportResolver(&FakeResolver);
    CLegacyPrefs prefs(&zvtest::ProfileApp());
    CUserList list;
    prefs.EnumUsers("Zorvikan", "software\\corvantide\\zorvikan desktop\\iPhone - ", list);
    SetPlatformExportResolver(previous);

    std::vector<CUserItem*> users = Users(list);
    ASSERT_EQ(users.size(), 4u);
    EXPECT_EQ(users[0]->GetKeyName(), "key0");
    EXPECT_EQ(users[1]->GetKeyName(), "key1");  // index 2 answered 2: skipped
    EXPECT_EQ(users[1]->GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\iPhone - key1");
    EXPECT_FALSE(users[1]->IsStandalone());

    EXPECT_EQ(users[2]->GetDisplayName(), "Home");
    EXPECT_EQ(users[2]->GetKeyName(), "_Standalone_Home");
    EXPECT_EQ(users[2]->GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\ - _Standalone_Home");
    EXPECT_TRUE(users[2]->IsStandalone());
    EXPECT_EQ(users[2]->GetRecord().platformType, kPlatformTypeStandalone);

    EXPECT_EQ(users[3]->GetDisplayName(), "Standalone");
    EXPECT_EQ(users[3]->GetKeyName(), "_Standalone_");
    EXPECT_EQ(users[3]->GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\Standalone - _Standalone_");
    list.DeleteAll();
}

// Platform records whose key name cannot name a user's folder, or whose
// legacy key would not fit, are not taken as users.
const char* const kOddPlatformKeys[] = {"..", "CON", " . ", "ok"};

int FakeEnumerateOddKeys(int index, const char*, void* buffer)
{
    if (index > 3) return 0;
    auto* record = static_cast<UserRecord*>(buffer);
    SetUserRecordText(record->displayName, sizeof(record->displayName), "Someone");
    SetUserRecordText(record->keyName, sizeof(record->keyName), kOddPlatformKeys[index]);
    record->platformType = kPlatformTypeHandheld;
    return 1;
}

void* FakeOddKeysResolver(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Manager && std::strcmp(name, "EnumeratePlatformUsers") == 0)
        return reinterpret_cast<void*>(&FakeEnumerateOddKeys);
    return nullptr;
}

TEST_F(Registry, LegacyEnumerationRefusesUnusablePlatformUsers)
{
    PlatformExportResolver previous = SetPlatformExportResolver(&FakeOddKeysResolver);
    CLegacyPrefs prefs(&zvtest::ProfileApp());
    CUserList usable, tooLong;
    prefs.EnumUsers("Zorvikan", "software\\corvantide\\zorvikan desktop\\iPhone - ", usable);
    // A prefix that leaves no room for even a short key name.
    prefs.EnumUsers("Zorvikan", CString('p', 254), tooLong);
    SetPlatformExportResolver(previous);

    std::vector<CUserItem*> users = Users(usable);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0]->GetKeyName(), "ok");
    EXPECT_EQ(users[0]->GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\iPhone - ok");
    EXPECT_TRUE(tooLong.IsEmpty());
    usable.DeleteAll();
}

class Legacy : public Registry {
protected:
    void SetUp() override
    {
        Registry::SetUp();
        m_user = MakeUser("Bob", "bob", "software\\corvantide\\zorvikan desktop\\iPhone - ");
        m_userKey = CString(kRoot) + "iPhone - bob";
        m_profileKey = "Software\\Corvantide\\Zorvikan Desktop\\iPhone - bob";
    }
    void WriteProfileBinary(const char* name, std::vector<BYTE> data)
    {
        CRegistry key(HKEY_CURRENT_USER, m_profileKey);
        ASSERT_TRUE(key.CreateKey());
        ASSERT_TRUE(key.WriteBinary(name, data.data(), DWORD(data.size())));
    }
    CLegacyPrefs m_prefs{&zvtest::ProfileApp()};
    std::unique_ptr<CUserItem> m_user;
    CString m_userKey, m_profileKey;
};

TEST_F(Legacy, StoredFlagsReadTheirValue)
{
    EXPECT_FALSE(m_prefs.GetAutoSubmit(m_user.get())) << "absent";
    CRegistry key(HKEY_CURRENT_USER, m_userKey);
    ASSERT_TRUE(key.CreateKey());
    struct Case {
        const char* name;
        DWORD value;
        bool expected;
    } cases[] = {{"zero", 0, false}, {"one", 1, true}, {"other", 5, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(key.WriteDWORD("Auto Submit", c.value));
        ASSERT_TRUE(key.WriteDWORD("SearchColumns", c.value));
        EXPECT_EQ(m_prefs.GetAutoSubmit(m_user.get()), c.expected);
        EXPECT_EQ(m_prefs.GetSearchColumns(m_user.get()), c.expected);
    }
    // Data of another kind still counts as set, as older versions wrote it.
    ASSERT_TRUE(key.WriteString("Auto Submit", "yes"));
    EXPECT_TRUE(m_prefs.GetAutoSubmit(m_user.get()));

    m_prefs.SetAutoSubmit(m_user.get(), 0);
    EXPECT_FALSE(m_prefs.GetAutoSubmit(m_user.get()));
    EXPECT_EQ(ValueType(m_userKey, "Auto Submit"), DWORD(REG_DWORD));
}

TEST_F(Legacy, NoPrintReadsTheStoredValueUnderTheHiveRoot)
{
    const char* section = "Software\\Policies\\ZvNoPrint";
    EXPECT_FALSE(m_prefs.GetNoPrint(section));
    CRegistry key(HKEY_CURRENT_USER, section);
    ASSERT_TRUE(key.CreateKey());
    ASSERT_TRUE(key.WriteDWORD("NoPrint", 0));
    EXPECT_FALSE(m_prefs.GetNoPrint(section));
    ASSERT_TRUE(key.WriteDWORD("NoPrint", 1));
    EXPECT_TRUE(m_prefs.GetNoPrint(section));
}

TEST_F(Legacy, ShortBlocksGiveTheDefaults)
{
    WriteProfileBinary("Sort Info", {1, 2});
    WriteProfileBinary("Row Color", {1, 2, 3});
    WriteProfileBinary("Show Columns2", std::vector<BYTE>(50, 0x11));
    WriteProfileBinary("Current Type", {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(m_prefs.GetSortInfo(m_user.get()), 0x00010003);
    EXPECT_EQ(m_prefs.GetRowColor(m_user.get()), 0xFFFFFFu);
    uint8_t defaultBytes[CShowColumns::kStoredSize], readBytes[CShowColumns::kStoredSize];
    DefaultShowColumns().WriteBytes(defaultBytes);
    m_prefs.GetShowColumns(kPlatformSection, m_user.get()).WriteBytes(readBytes);
    EXPECT_EQ(0, std::memcmp(defaultBytes, readBytes, sizeof readBytes));
    uint8_t type[8];
    m_prefs.GetCurrentType(m_user.get(), type);
    EXPECT_EQ(0, std::memcmp(type, kAllItemsKey, 8));

    // Values of full length are read (longer ones by their first bytes).
    WriteProfileBinary("Sort Info", {0x04, 0x00, 0x02, 0x00, 0xEE});
    WriteProfileBinary("Row Color", {0x10, 0x20, 0x30, 0x00});
    EXPECT_EQ(m_prefs.GetSortInfo(m_user.get()), 0x00020004);
    EXPECT_EQ(m_prefs.GetRowColor(m_user.get()), 0x302010u);
}

TEST_F(Legacy, DefaultsAndNoKeysCreatedByReading)
{
    EXPECT_EQ(m_prefs.GetDBVersion(kPlatformSection), 5);
    EXPECT_TRUE(m_prefs.GetVirginSync(kPlatformSection));
    EXPECT_EQ(m_prefs.GetSyncDirection(kPlatformSection), 1);
    EXPECT_EQ(m_prefs.GetCurrentUser(kPlatformSection), "");
    EXPECT_EQ(m_prefs.GetDetailsPaneWidth(m_user.get()), 250);
    EXPECT_TRUE(m_prefs.GetShowingDetails(m_user.get()));
    EXPECT_EQ(m_prefs.GetSleepMinutes(m_user.get()), 10);
    EXPECT_EQ(m_prefs.GetMaxSleepMinutes(m_user.get()), 60);
    EXPECT_EQ(m_prefs.GetPasswordGeneratorFlags(m_user.get()), 0xFFFF);
    EXPECT_FALSE(m_prefs.GetCaseSensitive(m_user.get()));
    EXPECT_EQ(m_prefs.GetUserDirectory(m_user.get()), "");
    EXPECT_EQ(m_prefs.GetBackupFileCounter(m_user.get()), 0);
    BYTE font[60];
    EXPECT_FALSE(m_prefs.GetFont(m_user.get(), font));
    BYTE block[32];
    EXPECT_FALSE(m_prefs.GetPasswordRequirements(kPlatformSection, block));
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists("Software\\Corvantide"));
}

TEST_F(Legacy, ProfileValuesRoundTrip)
{
    m_prefs.SetCurrentUser(kPlatformSection, "bob");
    m_prefs.SetDBVersion(kPlatformSection, 6);
    m_prefs.SetVirginSync(kPlatformSection, false);
    m_prefs.SetSleepMinutes(m_user.get(), 90);
    m_prefs.SetMaxSleepMinutes(m_user.get(), 30);
    m_prefs.SetWindowPos(m_user.get(), "1,2,3,4");
    const uint8_t type[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    m_prefs.SetCurrentType(m_user.get(), type);
    EXPECT_EQ(m_prefs.GetCurrentUser(kPlatformSection), "bob");
    EXPECT_EQ(m_prefs.GetDBVersion(kPlatformSection), 6);
    EXPECT_FALSE(m_prefs.GetVirginSync(kPlatformSection));
    EXPECT_EQ(m_prefs.GetSleepMinutes(m_user.get()), 30) << "capped by the maximum";
    EXPECT_EQ(m_prefs.GetWindowPos(m_user.get()), "1,2,3,4");
    uint8_t back[8];
    m_prefs.GetCurrentType(m_user.get(), back);
    EXPECT_EQ(0, std::memcmp(back, type, 8));
    EXPECT_TRUE(zvtest::ScratchRegistry::ValueExists(m_profileKey, "Winpos"));
}

TEST_F(Legacy, DirectValuesAndTheirKey)
{
    // Setters that need an existing key write nothing without one.
    m_prefs.SetBackupFileCounter(m_user.get(), 3);
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(m_userKey));
    EXPECT_TRUE(m_prefs.SetUserDirectory(m_user.get(), "C:\\Data"));
    EXPECT_EQ(m_prefs.GetUserDirectory(m_user.get()), "C:\\Data");
    m_prefs.SetBackupFileCounter(m_user.get(), 3);
    EXPECT_EQ(m_prefs.GetBackupFileCounter(m_user.get()), 3);
    const BYTE hint[] = {9, 8, 7};
    m_prefs.SetHintBuffer(m_user.get(), hint, 3);
    CAppPrefs::BufferPair pair = m_prefs.GetHintBuffer(m_user.get());
    ASSERT_EQ(pair.length, 3);
    EXPECT_EQ(0, std::memcmp(pair.buffer, hint, 3));
    delete[] pair.buffer;
    EXPECT_TRUE(m_prefs.AddUser(m_user.get()));
    EXPECT_EQ(m_prefs.GetDisplayName(m_user.get()), "Bob");
    EXPECT_EQ(m_prefs.DeleteUser(m_user.get()), 0);
    EXPECT_FALSE(zvtest::ScratchRegistry::KeyExists(m_userKey));

    // A user without a legacy key: setters succeed, getters are empty, and
    // deleting never reaches the hive's root.
    auto bare = MakeUser("Bare", "bare", nullptr);
    EXPECT_TRUE(m_prefs.SetUserDirectory(bare.get(), "C:\\X"));
    EXPECT_EQ(m_prefs.GetUserDirectory(bare.get()), "");
    EXPECT_TRUE(m_prefs.AddUser(bare.get()));
    EXPECT_EQ(m_prefs.DeleteUser(bare.get()), 0);
    EXPECT_EQ(m_prefs.DeleteUser(nullptr), 0);
    EXPECT_FALSE(m_prefs.AddUser(nullptr));
    EXPECT_NE(m_prefs.DeleteSection(""), 0);
}

}  // namespace
