#pragma once
// The 460-byte user record the program exchanges with the platform manager.
// Its layout is fixed: little-endian integers, zero-terminated ANSI texts.
#include <cstddef>
#include <cstdint>

#include "framework/CString.h"

struct UserRecord {
    char displayName[200];  // at most 199 characters
    char keyName[200];      // at most 199 characters
    int32_t platformType;   // 3 stand-alone, 5 handheld
    char platformName[40];  // at most 39 characters
    int32_t platformValue;  // the platform manager's own value
    uint8_t reserved[12];   // unused, zero in records the program builds
};
static_assert(sizeof(UserRecord) == 460, "user record is a fixed 460-byte layout");
static_assert(offsetof(UserRecord, keyName) == 200, "user record layout");
static_assert(offsetof(UserRecord, platformType) == 400, "user record layout");
static_assert(offsetof(UserRecord, platformName) == 404, "user record layout");
static_assert(offsetof(UserRecord, platformValue) == 444, "user record layout");

const int32_t kPlatformTypeStandalone = 3;
const int32_t kPlatformTypeHandheld = 5;

// "iPhone" for handheld users (5), "Standalone" for every other type.
const char* GetPlatformTypeWord(int32_t platformType);

// An all-zero record.
UserRecord MakeEmptyUserRecord();

// Copies text into a record field of fieldSize bytes with its terminating
// zero. Text that does not fit is refused: false, the field unchanged.
bool SetUserRecordText(char* field, size_t fieldSize, const char* text);
// The text of a record field, read up to its first zero and never beyond the
// field, so a record from outside without a terminator cannot overrun.
CString GetUserRecordText(const char* field, size_t fieldSize);

// The user's key or display name as it appears in folder and section names:
// forbidden file-name characters replaced, trailing blanks removed.
CString MakeSafeUserName(const CString& name);

// True when a key name can name a user's folder below the data root: its
// safe form is not empty, is not made of dots and blanks only (".", "..",
// "..." would point at the data root or above) and is not a device name
// (CON, NUL, COM1, ... also with an extension). Every other name is refused.
bool IsUsableKeyName(const CString& keyName);
