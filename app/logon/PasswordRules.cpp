#include "app/logon/PasswordRules.h"

#include <string_view>

bool IsAcceptablePassword(const CSecretString& password)
{
    const int length = password.GetLength();
    if (length == 0) return true;
    if (length == 1) return false;
    // Views only: no copy of the password is made.
    const std::string_view text(password.c_str(), (size_t)length);
    return text.find_first_not_of(text[0]) != std::string_view::npos;
}

bool MeetsPasswordRequirements(const BYTE block[kPasswordRequirementsSize], const CSecretString& password)
{
    const std::string_view text(password.c_str(), (size_t)password.GetLength());
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
    if (forbiddenLength > 0 && text.find(std::string_view(field, forbiddenLength)) != std::string_view::npos)
        return false;
    return true;
}
