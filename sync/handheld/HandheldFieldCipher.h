#pragma once
// The cipher of the handheld database's BLOB values: Blowfish-ECB over whole
// 8-byte blocks (big-endian words) keyed with the handheld user's password,
// or plain text bytes while it is not keyed. Values are bounded by the
// handheld's own field sizes; a longer one is refused, never cut.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "core/crypto/SecretString.h"
#include "framework/CString.h"

// Largest BLOB read or written with the cipher on (16384 bytes of ciphered
// blocks) and largest plain value with it off.
constexpr int kMaxCipheredFieldBytes = 16384;
constexpr int kMaxPlainFieldBytes = 4096;

class CHandheldFieldCipher {
public:
    CHandheldFieldCipher();
    // Wipes the key schedule.
    ~CHandheldFieldCipher();
    CHandheldFieldCipher(const CHandheldFieldCipher&) = delete;
    CHandheldFieldCipher& operator=(const CHandheldFieldCipher&) = delete;

    // Keys the cipher with the password's bytes unless it is keyed already
    // or the password is empty.
    void SetPassword(const CSecretString& password);
    bool IsOn() const { return m_context != nullptr; }

    // A BLOB (null: a NULL value) of bytes length as its text. hasValue is
    // false for a NULL value and, with the cipher on, for an empty BLOB.
    // 0, or kHandheldValueTooLong for a BLOB beyond the limits above.
    int Decrypt(const void* blob, int bytes, CString& value, bool& hasValue) const;
    // The BLOB of a text: with the cipher on the text and one to eight zero
    // bytes, ciphered; else the text's bytes. 0, or kHandheldValueTooLong.
    int Encrypt(const CString& text, std::vector<uint8_t>& blob) const;

private:
    std::unique_ptr<BlowfishContext> m_context;
};

// The handheld keeps its user's password in DATABASEINFOTABLE under a fixed
// key; this gives its text (up to the first zero byte). 0, or
// kHandheldValueTooLong.
int DecryptHandheldPassword(const void* blob, int bytes, CSecretString& password);
