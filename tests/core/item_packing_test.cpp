// The packed item form and the item record in the archive: byte fixtures
// built from the format tables (tests/fixtures/items/make_packed_items.py
// prints them), round trips, old forms, long items and damaged input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/items/Category.h"
#include "core/items/ItemPacking.h"
#include "core/os/ProcessSeams.h"
#include "core/store/MasterPwdMgr.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "framework/CException.h"
#include "tests/core/packing_support.h"

using namespace packtest;

namespace {

const uint8_t kWebLogins[8] = {0, 0, 0, 0, 0, 0, 0, 0x12};
const uint8_t kBusiness[8] = {0, 0, 0, 0, 0, 0, 0, 0x33};
const uint8_t kSomeCategory[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};

std::unique_ptr<CRecord> EmptyRecord()
{
    auto r = std::make_unique<CRecord>();
    return r;
}

std::unique_ptr<CRecord> FullRecord()
{
    auto r = std::make_unique<CRecord>();
    r->SetTypeKey(kWebLogins);
    r->SetCategoryKey(kSomeCategory);
    r->SetIcon(21);
    r->SetHiddenMask(0x0004);
    r->SetField(0, "Bank");
    r->SetField(1, "jo");
    r->SetField(2, "pw");
    r->SetNotes("a\r\nb");
    r->SetViewCount(42);
    r->SetAttachmentName("doc.txt");
    r->SetAttachmentKey("K9");
    r->SetFieldLabel(3, "Pin code", nullptr);
    return r;
}

std::unique_ptr<CTypeItem> WebLoginsType()
{
    auto t = std::make_unique<CTypeItem>();
    t->SetKey(kWebLogins);
    t->SetName("Web Logins");
    const char* labels[10] = {"Description", "Username", "Password", "URL",     "Field 5",
                              "Field 6",     "Field 7",  "Field 8",  "Field 9", "Date Mod"};
    for (int i = 0; i < 10; ++i) t->SetField(i, labels[i]);
    t->SetIcon(21);
    t->SetHiddenMask(0x0004);
    return t;
}

std::unique_ptr<CCategoryItem> BusinessCategory()
{
    auto c = std::make_unique<CCategoryItem>();
    c->SetKey(kBusiness);
    c->SetName("Business");
    return c;
}

struct Fixture {
    const char* name;
    std::unique_ptr<CBaseItem> (*make)();
    const char* hex;
};

const Fixture kFixtures[] = {
    {"empty record", [] { return std::unique_ptr<CBaseItem>(EmptyRecord()); },
     "9466000000000000000000000000000000000018000000000000000000000000003000000001020304050607"},
    {"full record", [] { return std::unique_ptr<CBaseItem>(FullRecord()); },
     "1DDF000000000000001211223344556677880015000442616E6B006A6F0070770000000000000000610A6200343200646F632E74787400"
     "4B390000000050696E20636F64650000000000000001020304050607"},
    {"type", [] { return std::unique_ptr<CBaseItem>(WebLoginsType()); },
     "0D1D0000000000000012001500040000000000000000576562204C6F67696E73004465736372697074696F6E00557365726E616D6500"
     "50617373776F72640055524C004669656C642035004669656C642036004669656C642037004669656C642038004669656C6420390044"
     "617465204D6F640001020304050607"},
    {"category", [] { return std::unique_ptr<CBaseItem>(BusinessCategory()); },
     "745F0000000000000033000000000000000000000000427573696E6573730001020304050607"},
};

void ExpectSameRecord(const CRecord& a, const CRecord& b)
{
    for (int i = 0; i < kItemFieldCount; ++i) {
        EXPECT_EQ(a.GetField(i), b.GetField(i)) << i;
        EXPECT_EQ(a.GetCustomLabel(i), b.GetCustomLabel(i)) << i;
    }
    EXPECT_EQ(a.GetNotes(), b.GetNotes());
    EXPECT_EQ(0, memcmp(a.GetTypeKey(), b.GetTypeKey(), 8));
    EXPECT_EQ(0, memcmp(a.GetCategoryKey(), b.GetCategoryKey(), 8));
    EXPECT_EQ(a.GetIcon(), b.GetIcon());
    EXPECT_EQ(a.GetHiddenMask(), b.GetHiddenMask());
    EXPECT_EQ(a.GetViewCount(), b.GetViewCount());
    EXPECT_EQ(a.GetAttachmentName(), b.GetAttachmentName());
    EXPECT_EQ(a.GetAttachmentKey(), b.GetAttachmentKey());
}

}  // namespace

// ---------------------------------------------------------------- fixtures

TEST(PackedForm, EachClassPacksToTheBytesOfTheTables)
{
    CountingTail tail;
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        std::unique_ptr<CBaseItem> item = f.make();
        item->SetChecksum(0xBEEF);  // overwritten by the CRC
        CountingTail::Restart();
        ASSERT_EQ(0, item->Pack(nullptr));
        EXPECT_EQ(f.hex, ToHex(item->GetPackedBlob()));
        EXPECT_EQ(item->PackedSize(), item->GetPackedBlob().size());
        EXPECT_EQ(0xBEEF, item->GetChecksum()) << "packing leaves the checksum field alone";
        const std::vector<uint8_t>& blob = item->GetPackedBlob();
        EXPECT_EQ(BitwiseCrc(std::vector<uint8_t>(2, 0).data(), 0), 0x04EB);
        std::vector<uint8_t> zeroed = blob;
        zeroed[0] = zeroed[1] = 0;
        EXPECT_EQ((blob[0] << 8) | blob[1], BitwiseCrc(zeroed.data(), zeroed.size() - 7));
    }
}

TEST(PackedForm, UnderAKeyTheHeaderStaysAndTheRestDecryptsToTheTables)
{
    CountingTail tail;
    auto key = Keyed("correct horse");
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        std::unique_ptr<CBaseItem> item = f.make();
        CountingTail::Restart();
        ASSERT_EQ(0, item->Pack(key.get()));
        std::vector<uint8_t> blob = item->GetPackedBlob();
        const std::vector<uint8_t> plain = Hex(f.hex);
        ASSERT_EQ(plain.size(), blob.size());
        EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 22, blob.begin()));
        EXPECT_NE(plain, blob);
        const size_t n = blob.size() - 22;
        BlowfishDecryptECB(key.get(), blob.data() + 22, blob.data() + 22, uint16_t(n));
        EXPECT_EQ(ToHex(plain), ToHex(blob));
        // The part after the last whole block was never encrypted.
        EXPECT_TRUE(std::equal(plain.end() - n % 8, plain.end(), item->GetPackedBlob().end() - n % 8));
    }
}

TEST(PackedForm, FixturesUnpackIntoTheItems)
{
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        std::unique_ptr<CBaseItem> expected = f.make();
        std::unique_ptr<CBaseItem> item(static_cast<CBaseItem*>(expected->GetRuntimeClass()->CreateObject()));
        const std::vector<uint8_t> bytes = Hex(f.hex);
        item->SetBlob(bytes.data(), bytes.size());
        EXPECT_EQ((bytes[0] << 8) | bytes[1], item->GetChecksum());
        ASSERT_EQ(0, item->Unpack(nullptr, 7));
        EXPECT_EQ(expected->GetName(), item->GetName());
        EXPECT_EQ(0, memcmp(expected->GetKey(), item->GetKey(), 8));
        for (int i = 0; i < kItemFieldCount; ++i) EXPECT_EQ(expected->GetField(i), item->GetField(i));
        if (expected->GetItemKind() != kItemKindCategory) {
            EXPECT_EQ(expected->GetIcon(), item->GetIcon());
            EXPECT_EQ(expected->GetHiddenMask(), item->GetHiddenMask());
        }
        if (auto* r = dynamic_cast<CRecord*>(item.get())) ExpectSameRecord(*static_cast<CRecord*>(expected.get()), *r);
    }
}

TEST(PackedForm, EmptyRecordIs44BytesAndCustomLabelsOnlyWhenAnyIsSet)
{
    CRecord r;
    EXPECT_EQ(44u, r.PackedSize());
    r.SetFieldLabel(9, "x", nullptr);
    EXPECT_EQ(44u + 10 + 1, r.PackedSize());
    r.SetFieldLabel(9, "", nullptr);
    ASSERT_EQ(0, r.Pack(nullptr));
    CRecord back;
    back.SetBlob(r.GetPackedBlob().data(), r.GetPackedBlob().size());
    ASSERT_EQ(0, back.Unpack(nullptr, 7));
    for (int i = 0; i < kItemFieldCount; ++i) EXPECT_EQ("", back.GetCustomLabel(i));
}

TEST(PackedForm, SizesFollowTheFormulas)
{
    CCategoryItem c;
    c.SetName("Personal");
    EXPECT_EQ(30u + 8, c.PackedSize());
    CTypeItem t;
    EXPECT_EQ(29u + 1 + 10, t.PackedSize());
    CCategory plainCategory;
    CBaseItem base;
    EXPECT_EQ(7u, plainCategory.PackedSize());
    EXPECT_EQ(7u, base.PackedSize());
    CRecord r;
    r.SetViewCount(-1234);
    EXPECT_EQ(44u + 4, r.PackedSize());
}

TEST(PackedForm, ViewCountTextIsReadLikeTheRuntimeReadsNumbers)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"0", 0},
                 {"42", 42},
                 {"  17", 17},
                 {"-5", -5},
                 {"+8", 8},
                 {"12abc", 12},
                 {"abc", 0},
                 {"", 0},
                 {"2147483647", 2147483647},
                 {"99999999999999999999", 2147483647},
                 {"-2147483648", INT32_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<uint8_t> blob(22, 0);
        for (int i = 0; i < 10; ++i) blob.push_back(0);
        blob.push_back(0);  // notes
        Str(blob, c.text);
        Str(blob, "");
        Str(blob, "");
        blob.insert(blob.end(), 7, 0xAA);
        CRecord r;
        r.SetBlob(blob.data(), blob.size());
        ASSERT_EQ(0, r.Unpack(nullptr, 7));
        EXPECT_EQ(c.value, r.GetViewCount());
    }
}

TEST(PackedForm, ShortEncryptedPartsStayPlain)
{
    auto key = Keyed("k");
    std::vector<uint8_t> seven = {1, 2, 3, 4, 5, 6, 7};
    CryptPackedRange(seven.data(), seven.size(), key.get(), true);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}), seven);
}

TEST(PackedForm, RandomTailComesFromTheRuntimeGeneratorByDefault)
{
    SetPackRandomSource(nullptr);
    // Two packings of the same content differ (tail, and so the checksum).
    CRecord r;
    r.SetField(0, "same");
    std::vector<std::vector<uint8_t>> forms;
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(0, r.Pack(nullptr));
        forms.push_back(r.GetPackedBlob());
    }
    bool differ = false;
    for (auto& f : forms) differ |= f != forms[0];
    EXPECT_TRUE(differ);
}

TEST(PackedForm, ItemsWithoutAFormOfTheirOwnCannotBePacked)
{
    CCategory category;
    category.SetName("x");
    category.SetPackedBlob(reinterpret_cast<const uint8_t*>("old"), 3);
    EXPECT_EQ(-1, category.Pack(nullptr));
    EXPECT_TRUE(category.GetPackedBlob().empty());
    // And saving one fails instead of writing an empty item.
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_THROW(category.SerializeWithKey(ar, nullptr), CArchiveException);
    ar.Abort();
}

// ---------------------------------------------------------------- long items

TEST(PackedForm, A70KilobyteNoteIsEncryptedAndCheckedToTheEnd)
{
    CountingTail tail;
    auto key = Keyed("long");
    CRecord r;
    std::string notes;
    for (int i = 0; notes.size() < 74 * 1024; ++i) notes += "line " + std::to_string(i) + " of a long note\r\n";
    r.SetNotes(notes.c_str());
    CountingTail::Restart();
    ASSERT_EQ(0, r.Pack(nullptr));
    const std::vector<uint8_t> plain = r.GetPackedBlob();
    ASSERT_GT(plain.size(), 70u * 1024);
    EXPECT_EQ((plain[0] << 8) | plain[1], [&] {
        std::vector<uint8_t> z = plain;
        z[0] = z[1] = 0;
        return BitwiseCrc(z.data(), z.size() - 7);
    }());

    CountingTail::Restart();
    ASSERT_EQ(0, r.Pack(key.get()));
    std::vector<uint8_t> cipher = r.GetPackedBlob();
    ASSERT_EQ(plain.size(), cipher.size());
    // Every whole block after the header is encrypted, past 64 KB too.
    const size_t whole = (cipher.size() - 22) / 8 * 8;
    for (size_t off = 22; off + 8 <= 22 + whole; off += 8)
        ASSERT_NE(0, memcmp(plain.data() + off, cipher.data() + off, 8)) << "plain block at " << off;
    std::vector<uint8_t> decrypted = cipher;
    for (size_t off = 22; off < 22 + whole; off += 8)
        BlowfishDecryptECB(key.get(), decrypted.data() + off, decrypted.data() + off, 8);
    EXPECT_EQ(plain, decrypted);

    // And it comes back whole.
    CRecord back;
    back.SetBlob(cipher.data(), cipher.size());
    ASSERT_EQ(0, back.Unpack(key.get(), 7));
    EXPECT_EQ(r.GetNotes(), back.GetNotes());
}

TEST(PackedForm, ItemsUnder64KilobytesUseTheSixteenBitRangeUnchanged)
{
    // Just under the 16-bit limit the whole-range routine and the 16-bit
    // routine give the same bytes.
    CountingTail tail;
    auto key = Keyed("edge");
    CRecord r;
    r.SetNotes(CString(std::string(65536 - 22 - 60, 'n')));
    ASSERT_LT(r.PackedSize() - 22, 65536u);
    CountingTail::Restart();
    ASSERT_EQ(0, r.Pack(nullptr));
    std::vector<uint8_t> viaOldRoutine = r.GetPackedBlob();
    BlowfishCryptInPlace(uint16_t(viaOldRoutine.size() - 22), viaOldRoutine.data() + 22, key.get(), 1);
    CountingTail::Restart();
    ASSERT_EQ(0, r.Pack(key.get()));
    EXPECT_EQ(viaOldRoutine, r.GetPackedBlob());
}

// ---------------------------------------------------------------- archive

TEST(ItemRecord, RoundTripsOfAllClassesWithAndWithoutAKey)
{
    auto key = Keyed("secret");
    for (const BlowfishContext* k :
         {static_cast<const BlowfishContext*>(nullptr), static_cast<const BlowfishContext*>(key.get())}) {
        SCOPED_TRACE(k ? "with key" : "plain");
        CItemKeyScope scope(k);

        auto record = FullRecord();
        record->SetId(4711);
        record->SetModifiedTime(1700000000);
        record->SetModified(true);
        record->SetReservedWord(-3);
        record->SetReservedLong(123456);
        record->SetAttachmentChanged(1);
        const std::vector<uint8_t> stored = StoreObject(record.get());
        auto back = LoadObject<CRecord>(stored);
        ASSERT_TRUE(back);
        ExpectSameRecord(*record, *back);
        EXPECT_EQ(4711, back->GetId());
        EXPECT_EQ(0, memcmp(record->GetUid(), back->GetUid(), 8));
        EXPECT_EQ(1700000000, back->GetModifiedTime());
        EXPECT_TRUE(back->IsModified());
        EXPECT_FALSE(back->IsDeleted());
        EXPECT_EQ(-3, back->GetReservedWord());
        EXPECT_EQ(123456, back->GetReservedLong());
        EXPECT_EQ(1, back->GetAttachmentChanged());
        EXPECT_EQ((back->GetPackedBlob()[0] << 8) | back->GetPackedBlob()[1], back->GetChecksum());
        EXPECT_EQ(record->GetPackedBlob().size(), back->GetPackedBlob().size());

        auto type = WebLoginsType();
        type->GetColumns().SetColumnWidth(3, 222);
        type->SetDeleted(true);
        auto typeBack = LoadObject<CTypeItem>(StoreObject(type.get()));
        ASSERT_TRUE(typeBack);
        EXPECT_EQ("Web Logins", typeBack->GetName());
        EXPECT_EQ("URL", typeBack->GetField(3));
        EXPECT_EQ(222, typeBack->GetColumns().GetColumnWidth(3));
        EXPECT_TRUE(typeBack->IsDeleted());
        EXPECT_EQ(0, memcmp(kWebLogins, typeBack->GetKey(), 8));

        auto category = BusinessCategory();
        auto categoryBack = LoadObject<CCategoryItem>(StoreObject(category.get()));
        ASSERT_TRUE(categoryBack);
        EXPECT_EQ("Business", categoryBack->GetName());
        EXPECT_EQ(0, memcmp(kBusiness, categoryBack->GetKey(), 8));
    }
}

TEST(ItemRecord, TheRecordFieldsFollowThePackedFormInOrder)
{
    CountingTail tail;
    CItemKeyScope scope(nullptr);
    auto category = BusinessCategory();
    category->SetId(0x01020304);
    category->SetModifiedTime(0x0A0B0C0D);
    category->SetDeleted(true);
    category->SetReservedWord(0x1122);
    category->SetReservedLong(0x33445566);
    category->SetAttachmentChanged(0x778899AA);
    const std::vector<uint8_t> stored = StoreObject(category.get());

    std::vector<uint8_t> expected = ClassTag("CCategoryItem", 7);
    const std::vector<uint8_t> packed = Hex(kFixtures[3].hex);
    Le32(expected, uint32_t(packed.size()));
    Append(expected, packed);
    Le32(expected, 0x01020304);
    Append(expected, std::vector<uint8_t>(kBusiness, kBusiness + 8));
    Le32(expected, 0x0A0B0C0D);
    Le16(expected, 0);  // modified
    Le16(expected, 1);  // deleted
    Le16(expected, 0x1122);
    Le32(expected, 0x33445566);
    Le32(expected, 0x778899AA);
    EXPECT_EQ(ToHex(expected), ToHex(stored));
}

TEST(ItemRecord, WithoutAScopeTheMasterPasswordKeyIsUsed)
{
    GetMasterPwdMgr()->SetPassword(CString("master"));
    auto record = FullRecord();
    const std::vector<uint8_t> stored = StoreObject(record.get());
    GetMasterPwdMgr()->ClearPassword();
    {
        auto key = Keyed("master");
        CItemKeyScope scope(key.get());
        auto back = LoadObject<CRecord>(stored);
        ASSERT_TRUE(back);
        ExpectSameRecord(*record, *back);
    }
    {
        CItemKeyScope plain(nullptr);
        auto garbage = LoadObject<CRecord>(stored);
        ASSERT_TRUE(garbage);
        EXPECT_NE("Bank", garbage->GetField(0));
    }
}

TEST(ItemRecord, EachThreadPacksUnderItsOwnKeyWhateverOthersUse)
{
    // The GUI thread saves under the user's key while a merge on another
    // thread works under another file's key.
    GetMasterPwdMgr()->SetPassword(CString("users key"));
    auto mergeKey = Keyed("other file");
    std::vector<std::vector<uint8_t>> mergeForms, guiForms;
    std::thread merge([&] {
        CItemKeyScope scope(mergeKey.get());
        for (int i = 0; i < 200; ++i) {
            auto r = FullRecord();
            mergeForms.push_back(StoreObject(r.get()));
        }
    });
    for (int i = 0; i < 200; ++i) {
        auto r = FullRecord();
        guiForms.push_back(StoreObject(r.get()));
    }
    merge.join();
    GetMasterPwdMgr()->ClearPassword();

    auto usersKey = Keyed("users key");
    auto reference = FullRecord();
    for (auto* set : {&guiForms, &mergeForms}) {
        CItemKeyScope scope(set == &guiForms ? usersKey.get() : mergeKey.get());
        for (const auto& form : *set) {
            auto back = LoadObject<CRecord>(form);
            ASSERT_TRUE(back);
            ASSERT_EQ("Bank", back->GetField(0));
            ASSERT_EQ(reference->GetNotes(), back->GetNotes());
        }
    }
}

// ---------------------------------------------------------------- old forms

TEST(OldForms, Version4RecordIsReadAndKeepsItsOldChecksumUntilPacked)
{
    auto key = Keyed("v4 key");
    std::vector<uint8_t> blob = {0x00, 0x12, 21, 0, 0xAB, 0xCD};
    for (const char* s : {"Bank", "jo", "pw", "", "", ""}) Str(blob, s);
    Str(blob, "first\nsecond");
    std::vector<uint8_t> encrypted = blob;
    BlowfishEncryptECB(key.get(), encrypted.data() + 6, encrypted.data() + 6, uint16_t(encrypted.size() - 6));

    std::vector<uint8_t> archive = ClassTag("CRecord", 4);
    Le32(archive, uint32_t(encrypted.size()));
    Append(archive, encrypted);
    Le32(archive, 77);  // id
    Le16(archive, 1);   // modified
    Le16(archive, 0);   // deleted
    Le16(archive, 5);   // reserved word
    Le32(archive, 6);   // reserved long
    Le32(archive, 0);   // attachment changed

    CItemKeyScope scope(key.get());
    auto r = LoadObject<CRecord>(archive);
    ASSERT_TRUE(r);
    EXPECT_EQ(0, memcmp(kWebLogins, r->GetTypeKey(), 8));
    EXPECT_TRUE(IsNullUniqueKey(r->GetCategoryKey()));
    EXPECT_EQ(21, r->GetIcon());
    EXPECT_EQ("Bank", r->GetField(0));
    EXPECT_EQ("pw", r->GetField(2));
    EXPECT_EQ("Unknown", r->GetField(9));
    EXPECT_EQ("Date Mod", r->GetCustomLabel(9));
    EXPECT_EQ("first\r\nsecond", r->GetNotes());
    EXPECT_EQ(77, r->GetId());
    EXPECT_EQ(0, r->GetModifiedTime());
    EXPECT_TRUE(r->IsModified());
    EXPECT_EQ(0x0012, r->GetChecksum());
    EXPECT_EQ(5, r->GetReservedWord());
}

TEST(OldForms, Version2RecordIsDecryptedFromTheFieldAfterTheFirstAndRepacked)
{
    auto key = Keyed("v2 key");
    std::vector<uint8_t> blob = {0x00, 0x02, 23, 0};
    Str(blob, "Joe bday");  // 4..12, zero at 12, so encryption starts at 13 -> 14
    for (const char* s : {"1970-01-01", "", "", "", ""}) Str(blob, s);
    Str(blob, "cake");
    std::vector<uint8_t> encrypted = blob;
    const size_t start = 14;
    BlowfishEncryptECB(key.get(), encrypted.data() + start, encrypted.data() + start,
                       uint16_t(encrypted.size() - start - 1));

    std::vector<uint8_t> archive = ClassTag("CRecord", 2);
    Le32(archive, uint32_t(encrypted.size()));
    Append(archive, encrypted);
    Le32(archive, 9);
    Le16(archive, 0);
    Le16(archive, 1);       // deleted
    Le16(archive, 0x5555);  // old checksum
    Le16(archive, 0);
    Le32(archive, 0);
    Le32(archive, 0);

    CountingTail tail;
    CItemKeyScope scope(key.get());
    auto r = LoadObject<CRecord>(archive);
    ASSERT_TRUE(r);
    EXPECT_EQ("Joe bday", r->GetField(0));
    EXPECT_EQ("1970-01-01", r->GetField(1));
    EXPECT_EQ("cake", r->GetNotes());
    EXPECT_EQ(23, r->GetIcon());
    const uint8_t birthdays[8] = {0, 0, 0, 0, 0, 0, 0, 2};
    EXPECT_EQ(0, memcmp(birthdays, r->GetTypeKey(), 8));
    EXPECT_TRUE(r->IsDeleted());
    // Packed at once in the current layout, under the same key.
    ASSERT_EQ(r->PackedSize(), r->GetPackedBlob().size());
    EXPECT_EQ((r->GetPackedBlob()[0] << 8) | r->GetPackedBlob()[1], r->GetChecksum());
    CRecord again;
    again.SetBlob(r->GetPackedBlob().data(), r->GetPackedBlob().size());
    ASSERT_EQ(0, again.Unpack(key.get(), 7));
    EXPECT_EQ("Joe bday", again.GetField(0));
    EXPECT_EQ("cake", again.GetNotes());
}

TEST(OldForms, Version2TypesAndCategoriesWereNeverEncrypted)
{
    std::vector<uint8_t> blob = {0x00, 0x33, 5, 0};
    Str(blob, "Business");
    std::vector<uint8_t> archive = ClassTag("CCategoryItem", 1);
    Le32(archive, uint32_t(blob.size()));
    Append(archive, blob);
    Le32(archive, 3);
    for (int i = 0; i < 4; ++i) Le16(archive, 0);
    Le32(archive, 0);
    Le32(archive, 0);
    auto key = Keyed("any");
    CItemKeyScope scope(key.get());
    auto c = LoadObject<CCategoryItem>(archive);
    ASSERT_TRUE(c);
    EXPECT_EQ("Business", c->GetName());
    EXPECT_EQ(0, memcmp(kBusiness, c->GetKey(), 8));
}

TEST(OldForms, Version5TypeGetsSixLabelsAndTheDefaultColumns)
{
    std::vector<uint8_t> blob(22, 0);
    blob[9] = 0x12;
    blob[11] = 21;
    blob[13] = 4;
    Str(blob, "Web Logins");
    for (const char* s : {"Description", "Username", "Password", "URL", "", ""}) Str(blob, s);
    blob.insert(blob.end(), 7, 0x5A);
    std::vector<uint8_t> archive = ClassTag("CTypeItem", 5);
    Le32(archive, uint32_t(blob.size()));
    Append(archive, blob);
    Le32(archive, 12);
    for (int i = 0; i < 3; ++i) Le16(archive, 0);
    Le32(archive, 0);
    Le32(archive, 0);
    std::vector<uint8_t> columns(96, 0x01);  // a layout that is not used
    Append(archive, columns);

    CItemKeyScope scope(nullptr);
    auto t = LoadObject<CTypeItem>(archive);
    ASSERT_TRUE(t);
    EXPECT_EQ("Web Logins", t->GetName());
    EXPECT_EQ("URL", t->GetField(3));
    EXPECT_EQ("Date Mod", t->GetField(9));
    EXPECT_EQ(21, t->GetIcon());
    EXPECT_EQ(4, t->GetHiddenMask());
    uint8_t got[96], defaults[96];
    t->GetColumns().WriteBytes(got);
    DefaultShowColumns().WriteBytes(defaults);
    EXPECT_EQ(0, memcmp(got, defaults, 96));
}

TEST(OldForms, Version6RecordHasTenFieldsNoViewCountAndItsLabels)
{
    std::vector<uint8_t> blob(22, 0);
    blob[19] = 24;
    for (int i = 0; i < 10; ++i) Str(blob, "f" + std::to_string(i));
    Str(blob, "notes");
    for (int i = 0; i < 10; ++i) Str(blob, i == 2 ? "label" : "");
    blob.insert(blob.end(), 7, 0x11);
    std::vector<uint8_t> archive = ClassTag("CRecord", 6);
    Le32(archive, uint32_t(blob.size()));
    Append(archive, blob);
    Le32(archive, 5);
    const uint8_t uid[8] = {9, 8, 7, 6, 5, 4, 3, 2};
    Append(archive, std::vector<uint8_t>(uid, uid + 8));
    Le32(archive, 1234567);
    for (int i = 0; i < 3; ++i) Le16(archive, 0);
    Le32(archive, 0);
    Le32(archive, 0);

    CItemKeyScope scope(nullptr);
    auto r = LoadObject<CRecord>(archive);
    ASSERT_TRUE(r);
    EXPECT_EQ("f9", r->GetField(9));
    EXPECT_EQ("notes", r->GetNotes());
    EXPECT_EQ("label", r->GetCustomLabel(2));
    EXPECT_EQ(0, r->GetViewCount());
    EXPECT_EQ(0, memcmp(uid, r->GetUid(), 8));
    EXPECT_EQ(1234567, r->GetModifiedTime());
}

// ---------------------------------------------------------------- damage

TEST(DamagedItems, FormsShorterThanTheirHeaderAreRefused)
{
    struct Case {
        const char* what;
        size_t length;
        int (*unpack)(CRecord&);
    } cases[] = {
        {"current, 21 bytes", 21, [](CRecord& r) { return r.Unpack(nullptr, 7); }},
        {"current, empty", 0, [](CRecord& r) { return r.Unpack(nullptr, 7); }},
        {"version 4, 5 bytes", 5, [](CRecord& r) { return r.UnpackV4(nullptr); }},
        {"version 2, 3 bytes", 3, [](CRecord& r) { return r.UnpackV2(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecord r;
        std::vector<uint8_t> bytes(c.length, 0x41);
        r.SetBlob(bytes.data(), bytes.size());
        EXPECT_EQ(-1, c.unpack(r));
    }
}

TEST(DamagedItems, BadLengthsAndSchemasGiveArchiveErrors)
{
    auto withLength = [](int32_t length, size_t actual, uint16_t schema) {
        std::vector<uint8_t> a = ClassTag("CRecord", schema);
        Le32(a, uint32_t(length));
        a.insert(a.end(), actual, 0);
        Le32(a, 1);
        for (int i = 0; i < 3; ++i) Le16(a, 0);
        Le32(a, 0);
        Le32(a, 0);
        return a;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"length beyond the data", withLength(100000, 50, 7)},
        {"negative length", withLength(-5, 0, 7)},
        {"shorter than the header", withLength(10, 10, 7)},
        {"newer schema", withLength(44, 44, 8)},
    };
    CItemKeyScope scope(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(LoadObject<CRecord>(c.bytes), CArchiveException);
    }
}

TEST(DamagedItems, EveryCutOfAStoredItemFailsCleanly)
{
    auto key = Keyed("cut");
    CItemKeyScope scope(key.get());
    for (CBaseItem* item : std::initializer_list<CBaseItem*>{FullRecord().release(), WebLoginsType().release()}) {
        std::unique_ptr<CBaseItem> owner(item);
        const std::vector<uint8_t> stored = StoreObject(item);
        for (size_t cut = 0; cut < stored.size(); ++cut) {
            std::vector<uint8_t> part(stored.begin(), stored.begin() + cut);
            EXPECT_THROW(LoadObject<CBaseItem>(part), CException) << "cut at " << cut;
        }
    }
}

TEST(DamagedItems, CorruptBytesNeverCrashTheReader)
{
    auto key = Keyed("flip");
    CItemKeyScope scope(key.get());
    auto record = FullRecord();
    const std::vector<uint8_t> stored = StoreObject(record.get());
    for (size_t i = 0; i < stored.size(); ++i) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(stored[i] ^ 0x80)}) {
            std::vector<uint8_t> bad = stored;
            bad[i] = value;
            try {
                LoadObject<CBaseItem>(bad);
            } catch (const CException&) {}
        }
    }
    // Packed forms with no zero anywhere read as cut-short strings.
    std::vector<uint8_t> noZeros(200, 0x41);
    CRecord r;
    r.SetBlob(noZeros.data(), noZeros.size());
    EXPECT_EQ(0, r.Unpack(key.get(), 7));
    EXPECT_EQ(0, r.UnpackV4(key.get()));
    EXPECT_EQ(0, r.UnpackV2(key.get()));
}
