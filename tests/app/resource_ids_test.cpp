// Every string, bitmap, icon and cursor the program loads by id is in its
// resources, both in "Zorvikan Desktop.exe" and in the language library
// "Zorvikan_Language.dll" that replaces them at start-up. The ids are those
// the program's sources name (listed by list_resource_ids.py at build time)
// and the ranges its code walks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class ResourceKind { kString, kBitmap, kIcon, kCursor };

struct ResourceUse {
    ResourceKind kind;
    unsigned id;
    const char* name;
    const char* source;
};

const ResourceUse kNamedUses[] = {
#include "resource_ids.inc"
};

// Ids the code computes: the default field labels (first + index), the
// default types' and categories' names (a table of numbers), and the
// built-in icons' cells (strips, not resources of their own); and the menu
// images, named as a tool bar.
std::vector<ResourceUse> ComputedUses()
{
    std::vector<ResourceUse> uses;
    for (unsigned id = 2101; id <= 2110; ++id)
        uses.push_back({ResourceKind::kString, id, "default field label", "core/items/BaseItem.cpp"});
    for (unsigned id : {2003u, 2004u, 2010u, 2013u, 2016u, 2019u, 2024u, 2029u, 2036u, 2038u,
                        2043u, 2045u, 2048u, 2051u, 2053u, 2058u, 2059u, 2060u, 2175u, 2176u})
        uses.push_back({ResourceKind::kString, id, "default type or category name", "core/items/DefaultItems.cpp"});
    // The status-bar prompts of the Edit menu's copy commands, DeDupe and Reset.
    for (unsigned id : {32809u, 32810u, 32811u, 32812u, 32813u, 32814u, 32815u, 32838u, 32876u, 32877u, 32878u, 32879u,
                        32908u, 32950u})
        uses.push_back({ResourceKind::kString, id, "status-bar prompt", "framework/FrameWnd.cpp"});
    // The menu images' strip, loaded through its tool bar's name.
    uses.push_back({ResourceKind::kBitmap, 337, "IDR_MENU_IMAGES", "app/frame/MainFrm.cpp"});
    return uses;
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool Present(HMODULE module, const ResourceUse& use)
{
    switch (use.kind) {
    case ResourceKind::kString: {
        char text[8] = {};
        return ::LoadStringA(module, use.id, text, sizeof text) > 0;
    }
    case ResourceKind::kBitmap: return ::FindResourceA(module, MAKEINTRESOURCEA(use.id), RT_BITMAP) != nullptr;
    case ResourceKind::kIcon: return ::FindResourceA(module, MAKEINTRESOURCEA(use.id), RT_GROUP_ICON) != nullptr;
    case ResourceKind::kCursor: return ::FindResourceA(module, MAKEINTRESOURCEA(use.id), RT_GROUP_CURSOR) != nullptr;
    }
    return false;
}

const char* KindName(ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::kString: return "string";
    case ResourceKind::kBitmap: return "bitmap";
    case ResourceKind::kIcon: return "icon";
    case ResourceKind::kCursor: return "cursor";
    }
    return "?";
}

class ResourceIdsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ResourceIdsTest, EveryIdTheProgramLoadsIsThere)
{
    const std::string path = ProgramFolder() + GetParam();
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << path;
    std::vector<ResourceUse> uses(std::begin(kNamedUses), std::end(kNamedUses));
    const std::vector<ResourceUse> computed = ComputedUses();
    uses.insert(uses.end(), computed.begin(), computed.end());
    // The list itself must not have come out empty or short.
    EXPECT_GT(uses.size(), 150u);
    for (const ResourceUse& use : uses)
        EXPECT_TRUE(Present(module, use)) << KindName(use.kind) << " " << use.id << " (" << use.name << ", "
                                          << use.source << ") is missing from " << GetParam();
    ::FreeLibrary(module);
}

// Help > User Guide (F1) opens this file from the program's folder: the
// build puts the guide there, a PDF.
TEST(UserGuide, LiesBesideTheProgramAsAPdf)
{
    const std::string path = ProgramFolder() + "Zorvikan User Guide.pdf";
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    char head[5] = {};
    DWORD read = 0;
    ::ReadFile(file, head, sizeof head, &read, nullptr);
    const DWORD size = ::GetFileSize(file, nullptr);
    ::CloseHandle(file);
    EXPECT_EQ(std::string("%PDF-"), std::string(head, read));
    EXPECT_GT(size, 10000u);
}

INSTANTIATE_TEST_SUITE_P(ProgramAndLanguageLibrary, ResourceIdsTest,
                         ::testing::Values("Zorvikan Desktop.exe", "Zorvikan_Language.dll"));

}  // namespace
