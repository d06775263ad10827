#pragma once
// The password verifier at the head of a database file: a fixed known text
// encrypted under the master password (40 zero bytes: no password). A
// candidate password is right when it encrypts the text to the same bytes.
#include <cstdint>

#include "core/crypto/Blowfish.h"
#include "core/crypto/SecretString.h"
#include "core/prefs/ProductNames.h"
#include "framework/CString.h"

constexpr int kVerifierSize = 40;
// ReadPasswordVerifier's answer for a file that does not exist (the system's
// ERROR_FILE_NOT_FOUND): the one failure that means "no password".
constexpr int kVerifierNoFile = 2;

// 39 printable characters and a zero; every build that shares database files
// uses the same text.
extern const uint8_t VERIFIER_PLAINTEXT[kVerifierSize];

// The verifier under an already keyed context.
void MakeVerifierWithKey(const BlowfishContext* key, uint8_t out[kVerifierSize]);
// The verifier stored for a password: 40 zero bytes for an empty one. 0, or
// -1 when no context could be allocated (out is then all zero).
int MakePasswordVerifier(const CSecretString& password, uint8_t out[kVerifierSize]);
// For checks: an empty password is keyed as the single zero byte, so it never
// matches the zero verifier of a file without password.
int MakeCheckVerifier(const CSecretString& password, uint8_t out[kVerifierSize]);

bool VerifiersEqual(const uint8_t a[kVerifierSize], const uint8_t b[kVerifierSize]);
bool VerifierIsZero(const uint8_t v[kVerifierSize]);

// Reads the first 40 bytes of a database file under the database mutex. 0
// when read; kVerifierNoFile when the file does not exist; any other failure
// (mutex wait ran out, denied, locked, shorter than 40 bytes) gives its error
// code. out is all zero unless 0 is returned.
int ReadPasswordVerifier(const CString& filePath, uint8_t out[kVerifierSize]);
// The same for the database file in a user's data folder; a user without a
// folder (empty text) has no file: kVerifierNoFile.
int ReadUserDbVerifier(uint8_t out[kVerifierSize], const CString& userFolder);

// Whether the file is protected. A file that exists but cannot be read counts
// as protected: it is never taken for a file without password.
bool DatabaseFileHasPassword(const CString& filePath);
// The same for the database file in a user's data folder; a user without a
// folder (empty text) has no file: kVerifierNoFile.
bool UserHasMasterPassword(const CString& userFolder);

// True when no password is given; else whether the password's verifier
// equals the file's (an empty password never matches; an unreadable file
// matches nothing).
bool CheckDatabasePassword(const CString& filePath, const CString* password);
