// libFuzzer target: the bytes as the handheld's database file received in a
// Wi-Fi sync. The reading pass (information row, lists, edited lists) must
// give the lists or a code; then the whole merge with a small desktop
// database, in the mode the input's length picks, and a merge that reports
// success must leave a handheld file that our own reader reads whole.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/UniqueList.h"
#include "core/store/DatabaseObj.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/HandheldSchema.h"
#include "sync/handheld/IPhoneRecordTable.h"
#include "sync/merge/HandheldMerge.h"

namespace fs = std::filesystem;

namespace {

void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

// A slow file is cut short by the passes' own deadline, not taken for a hang.
const int64_t kPassMs = 2000;

const fs::path& Folder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("zv-handheld-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path / "Files");
        fs::create_directories(path / "Received");
        return path;
    }();
    return folder;
}

struct Lists {
    CCategoryList categories;
    CTypesList types;
    CRecordList records;
    CiPhoneRecordTable table;
};

int ReadAll(CHandheldDatabase& database, Lists& lists, CHandheldDatabaseInfo& info)
{
    int result = database.ReadInfo(info);
    if (result == kHandheldOk) result = database.ReadCategories(lists.categories);
    if (result == kHandheldOk) result = database.ReadTypes(lists.types);
    if (result == kHandheldOk) result = database.ReadRecords(lists.records, lists.types, lists.table);
    if (result == kHandheldOk) result = database.ApplyEditedCategories(lists.categories);
    if (result == kHandheldOk) result = database.ApplyEditedTypes(lists.types);
    if (result == kHandheldOk) result = database.ApplyEditedRecords(lists.records);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path received = Folder() / "ZorvikanDataBase.db";
    std::error_code error;
    fs::remove(received.string() + "-journal", error);
    {
        std::ofstream out(received, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    CHandheldDatabaseInfo info;
    {
        Lists lists;
        std::unique_ptr<CHandheldDatabase> reader = OpenHandheldDatabase(received.string().c_str());
        reader->SetDeadline(HandheldClockMs() + kPassMs);
        const int result = ReadAll(*reader, lists, info);
        CHECK(result <= kHandheldOk && result >= kHandheldForeignSchema);
        if (result != kHandheldOk) return 0;
    }

    std::unique_ptr<CHandheldDatabase> handheld = OpenHandheldDatabase(received.string().c_str());
    handheld->SetDeadline(HandheldClockMs() + kPassMs);
    if (handheld->ReadInfo(info) != kHandheldOk) return 0;
    CDatabaseObj desktop;
    desktop.SetFilePath(CString((Folder() / "desktop.zdb").string()));
    CreateDefaultTypes(desktop.GetTypes());
    CreateDefaultCategories(desktop.GetCategories());
    // A record whose type key is all digits, as the write-back spells it.
    CRecord* own = new CRecord;
    own->SetId(0x7777);
    own->SetField(0, "desktop's own");
    static const uint8_t kType[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x12};
    own->SetTypeKey(kType);
    desktop.GetRecords().Add(own);

    HandheldMergeSetup setup;
    setup.mode = static_cast<int>(size % 3);
    setup.attachmentsFolder = CString((Folder() / "Files").string());
    setup.receivedAttachments = CString((Folder() / "Received").string());
    setup.handheldDatabasePath = CString(received.string());
    setup.handheldPassword = info.password;
    setup.deadlineMs = HandheldClockMs() + kPassMs;
    CiPhoneRecordTable table;
    const int merged = MergeHandheldDatabase(desktop, *handheld, table, setup);
    CHECK(merged <= kHandheldMergeOk && merged >= kHandheldMergeSaveFailed);
    if (merged == kHandheldMergeOk && setup.mode != 1) {
        // Reported merged: the handheld gets a file that reads.
        Lists back;
        CHandheldDatabaseInfo backInfo;
        std::unique_ptr<CHandheldDatabase> again = OpenHandheldDatabase(received.string().c_str());
        again->SetDeadline(HandheldClockMs() + 10 * kPassMs);
        const int result = ReadAll(*again, back, backInfo);
        if (result != kHandheldOk) std::fprintf(stderr, "rewritten file reads as %d\n", result);
        CHECK(result == kHandheldOk);
    }
    return 0;
}
