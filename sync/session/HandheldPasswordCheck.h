#pragma once
// Whether the handheld's user may sync with a desktop database. The
// handheld sends both a crib (its copy of the desktop file's 40-byte
// verifier) and its password; they must agree with each other and with the
// desktop file, so a copied crib alone opens nothing. A crib of another
// length never matches, and is never read beyond its end.
#include <cstdint>
#include <vector>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"

// databasePath: the desktop user's database file. A file without a password
// (or not there yet) matches only a handheld without crib and password; a
// file that cannot be read matches nothing.
bool HandheldPasswordMatches(const CString& databasePath, const std::vector<uint8_t>& crib,
                             const CSecretString& password);
