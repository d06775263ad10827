#include "core/users/UserRecord.h"

#include <cstring>

#include "core/os/PathUtils.h"

const char* GetPlatformTypeWord(int32_t platformType)
{
    return platformType == kPlatformTypeHandheld ? "iPhone" : "Standalone";
}

UserRecord MakeEmptyUserRecord()
{
    UserRecord record;
    std::memset(&record, 0, sizeof(record));
    return record;
}

bool SetUserRecordText(char* field, size_t fieldSize, const char* text)
{
    if (!field || fieldSize == 0) return false;
    if (!text) text = "";
    size_t length = std::strlen(text);
    if (length >= fieldSize) return false;
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text, length);
    return true;
}

CString GetUserRecordText(const char* field, size_t fieldSize)
{
    if (!field) return CString();
    const void* end = std::memchr(field, 0, fieldSize);
    size_t length = end ? (size_t)(static_cast<const char*>(end) - field) : fieldSize;
    return CString(field, (int)length);
}

CString MakeSafeUserName(const CString& name)
{
    CString safe = MakeSafeFileName(name);
    safe.TrimRight();
    return safe;
}

bool IsUsableKeyName(const CString& keyName)
{
    CString safe = MakeSafeUserName(keyName);
    if (safe.IsEmpty()) return false;
    // The system drops trailing dots and blanks from a path's last name, so a
    // name of only dots and blanks would name the parent folder or above.
    CString trimmed = safe;
    trimmed.TrimRight(". ");
    if (trimmed.IsEmpty()) return false;
    // Device names, alone or with an extension, never name a folder.
    int dot = trimmed.Find('.');
    CString base = dot >= 0 ? trimmed.Left(dot) : trimmed;
    base.TrimRight(" ");
    base.MakeUpper();
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device) return false;
    if (base.GetLength() == 4 && (base.Left(3) == "COM" || base.Left(3) == "LPT") && base[3] >= '1' && base[3] <= '9')
        return false;
    for (int i = 0; i < trimmed.GetLength(); ++i)
        if ((unsigned char)trimmed[i] < 32) return false;
    return true;
}
