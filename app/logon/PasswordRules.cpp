#include "app/logon/PasswordRules.h"

#include <cstring>
#include <string>

bool IsAcceptablePassword(const CString& password)
{
    const int length = password.GetLength();
    if (length == 0) return true;
    if (length == 1) return false;
    const std::string& text = password.Std();
    return text.find_first_not_of(text[0]) != std::string::npos;
}

bool MeetsPasswordRequirements(const BYTE block[kPasswordRequirementsSize], const CString& password)
{
    const std::string& text = password.Std();
    const size_t length = text.size();
    if (length < block[kReqMinLength] || length > block[kReqMaxLength]) return false;

    unsigned upper = 0, lower = 0, digits = 0, others = 0;
    for (char ch : text) {
        if (ch >= 'A' && ch <= 'Z')
            ++upper;
        else if (ch >= 'a' && ch <= 'z')
            ++lower;
        else if (ch >= '0' && ch <= '9')
            ++digits;
        else
            ++others;  // bytes from 0x80 too
    }
    if (upper + lower < block[kReqMinLetters] || upper < block[kReqMinUpper] || digits < block[kReqMinDigits] ||
        others < block[kReqMinOthers])
        return false;

    const char* field = reinterpret_cast<const char*>(block + kReqForbiddenText);
    size_t forbiddenLength = 0;
    while (forbiddenLength < (size_t)kReqForbiddenTextSize && field[forbiddenLength] != '\0') ++forbiddenLength;
    if (forbiddenLength > 0 && text.find(std::string(field, forbiddenLength)) != std::string::npos) return false;
    return true;
}
