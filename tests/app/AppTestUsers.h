#pragma once
// Users and per-user file paths for the shell's tests.
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/services/UserFilePaths.h"
#include "core/users/UserItem.h"
#include "tests/support/TestText.h"

inline std::unique_ptr<CUserItem> MakeTestUser(const char* name)
{
    UserRecord record = MakeEmptyUserRecord();
    std::strncpy(record.displayName, name, sizeof record.displayName - 1);
    std::strncpy(record.keyName, name, sizeof record.keyName - 1);
    record.platformType = kPlatformTypeStandalone;
    return std::make_unique<CUserItem>(record);
}

// <folder>\<key name>\<file name>, the folder made for each user.
inline UserFilePathFn UserFileIn(const std::filesystem::path& folder, const char* fileName)
{
    return [folder, fileName](CUserItem* user) -> CString {
        if (!user) return CString();
        const std::filesystem::path userFolder = folder / user->GetKeyName().GetString();
        std::filesystem::create_directories(userFolder);
        return zvtest::WinPath(userFolder / fileName);
    };
}
