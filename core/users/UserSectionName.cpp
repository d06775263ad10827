#include "core/users/UserSectionName.h"

#include "core/users/UserRecord.h"

namespace {

const char kUserPrefix[] = "User-";

// Case-insensitive test that text at position pos starts with word.
bool HasWordAt(const CString& text, int pos, const char* word)
{
    CString w(word);
    return text.GetLength() >= pos + w.GetLength() && text.Mid(pos, w.GetLength()).CompareNoCase(w) == 0;
}

// Position after "User-<platform word>-", or -1.
int KeyStart(const CString& sectionName, int32_t& type)
{
    const int prefix = (int)sizeof(kUserPrefix) - 1;
    if (!HasWordAt(sectionName, 0, kUserPrefix)) return -1;
    const int32_t types[] = {kPlatformTypeHandheld, kPlatformTypeStandalone};
    for (int32_t candidate : types) {
        CString word = CString(GetPlatformTypeWord(candidate)) + "-";
        if (HasWordAt(sectionName, prefix, word)) {
            type = candidate;
            return prefix + word.GetLength();
        }
    }
    return -1;
}

}  // namespace

int32_t GetPlatformTypeOfSection(const CString& sectionName)
{
    int32_t type = -1;
    return KeyStart(sectionName, type) >= 0 ? type : -1;
}

bool ParseUserSectionName(const CString& sectionName, const CString& displayName, int32_t& platformType,
                          CString& keyName)
{
    int32_t type = -1;
    int start = KeyStart(sectionName, type);
    if (start < 0) return false;
    CString rest = sectionName.Mid(start);
    CString tail = "-" + MakeSafeUserName(displayName);
    // With no display name the section still ends in the "-" that separates
    // the (empty) display part.
    if (rest.GetLength() > tail.GetLength() && rest.Right(tail.GetLength()).CompareNoCase(tail) == 0)
        rest = rest.Left(rest.GetLength() - tail.GetLength());
    platformType = type;
    keyName = rest;
    return true;
}
