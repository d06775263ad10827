#pragma once
// GeneratePassword: a new random password, either random characters of the
// chosen classes or a pronounceable one built by the FIPS 181 algorithm and
// dressed in the chosen classes syllable by syllable. Its random numbers come
// from the system's cryptographic generator, so passwords and attachment keys
// cannot be predicted from a seed (tests replace the source:
// SetPasswordRandomSource, core/os/ProcessSeams.h).
#include <cstdint>

#include "framework/ZvTypes.h"

// Class flags.
enum : UINT {
    kPwLower = 0x01,          // "a".."z"
    kPwUpper = 0x02,          // "A".."Z"
    kPwDigits = 0x04,         // "0".."9"
    kPwSymbols = 0x08,        // the 32 symbols of kPasswordSymbols
    kPwLatin1 = 0x10,         // the 31 accented small letters of kPasswordLatin1
    kPwPronounceable = 0x20,  // not a class: selects the pronounceable mode
};

extern const unsigned char kPasswordSymbols[32];
extern const unsigned char kPasswordLatin1[31];

// Writes a NUL-terminated password into buffer. Random mode: length
// characters (the buffer holds length + 1 bytes), result 0. Pronounceable
// mode: at most 30 characters (the buffer holds 31 bytes), result the number
// produced. No class chosen: empty, result 0. When the random source fails
// the password is empty and the result 0: a weak password is never made up.
// Not reentrant (the pronounceable mode carries a unit between calls).
WORD GeneratePassword(WORD length, UINT flags, char* buffer);
