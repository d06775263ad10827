#pragma once
// Attachment files: a record's attached file is kept in the user's "Files"
// folder as "<item id in hex>.zfa": the file's bytes padded with zeros to
// whole 8-byte blocks and encrypted with Blowfish (ECB, big-endian words)
// under the record's own attachment key text. The original length is not
// stored, so a decrypted file carries the 0..7 padding bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "framework/CString.h"

// A copy of data padded with zeros to a multiple of 8 bytes and encrypted;
// length becomes the padded length. Empty (and length 0) for no data.
std::vector<uint8_t> BlowfishEncryptChunk(const BlowfishContext* ctx, const uint8_t* data, size_t& length);
// A copy of data decrypted over its whole blocks; a trailing part of fewer
// than 8 bytes comes out as zeros.
std::vector<uint8_t> BlowfishDecryptChunk(const BlowfishContext* ctx, const uint8_t* data, size_t length);

// Length of the key text made for a new attachment.
constexpr int kAttachmentKeyLength = 20;
// A new attachment key text: 20 characters of the lower-case, upper-case,
// digit and symbol classes from the password generator. Empty when the
// generator has no randomness to give.
CString NewAttachmentKeyText();

class CAttachmentCrypter {
public:
    // Works on the stored file of that name in attachmentsFolder (the
    // current user's "Files" folder, CAppPrefMgr::GetAttachmentsDirectory),
    // keyed with the key text. Without a key text only the copy works;
    // without a name nothing does.
    CAttachmentCrypter(const CString& keyText, const CString& storedFileName, const CString& attachmentsFolder);
    ~CAttachmentCrypter();
    CAttachmentCrypter(const CAttachmentCrypter&) = delete;
    CAttachmentCrypter& operator=(const CAttachmentCrypter&) = delete;

    bool HasKey() const { return m_context != nullptr; }
    const CString& GetPath() const { return m_path; }

    // Encrypts the plain file at sourcePath into the stored file. The source
    // is opened first and the new stored file is written beside the old one
    // and put in place only when complete (the folder is created when
    // missing). 0, the system's error code, or -1 without a key.
    int EncryptFromFile(const CString& sourcePath);
    // Writes the stored file's plain contents (with its padding) to
    // destinationPath, replacing it only when complete. 0, the system's error
    // code, or -1 without a key.
    int DecryptToFile(const CString& destinationPath);
    // Copies the stored file of that name in the same folder over this
    // crypter's stored file (a duplicated record gets its own file with the
    // same key). Non-zero on success; works without a key.
    int CopyFromStoredFile(const CString& storedFileName);

private:
    // Reads sourcePath in 4096-byte chunks through transform into a new
    // version of destinationPath.
    int TransformFile(const CString& sourcePath, const CString& destinationPath, bool encrypt);

    std::unique_ptr<BlowfishContext> m_context;
    CString m_folder;
    CString m_path;
};
