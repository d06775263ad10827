#pragma once
// The two rules a new password must pass: the basic rule of every password
// (master and file passwords) and the installer's optional requirements for
// the master password.
#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

// The "Password requirements" block as the installer stores it.
const int kPasswordRequirementsSize = 32;
// Offsets within the block.
enum PasswordRequirementField {
    kReqMinLength = 0,
    kReqMaxLength = 1,
    kReqMinLetters = 2,
    kReqMinDigits = 3,
    kReqMinOthers = 4,
    kReqMinUpper = 5,
    kReqForbiddenText = 16,
    kReqForbiddenTextSize = 16,
};

// Empty means "no password" and is acceptable; one character, or one
// character repeated, is not.
bool IsAcceptablePassword(const CSecretString& password);

// The installer's requirements. The forbidden text is read within its
// 16-byte field only, terminated or not.
bool MeetsPasswordRequirements(const BYTE block[kPasswordRequirementsSize], const CSecretString& password);
