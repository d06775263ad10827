#include "app/logon/PasswordHint.h"

#include <cstring>
#include <new>

#include "app/logon/LogonRes.h"
#include "core/crypto/Rijndael.h"
#include "core/crypto/SecureZero.h"

const char CPasswordHint::kFallbackKey[] = "No answer yet";

namespace {
const size_t kBlock = 16;
}

CString GetHintQuestionText(int index)
{
    static const UINT ids[kHintQuestionCount + 1] = {IDS_HINT_QUESTION_NONE, IDS_HINT_QUESTION_1, IDS_HINT_QUESTION_2,
                                                     IDS_HINT_QUESTION_3,    IDS_HINT_QUESTION_4, IDS_HINT_QUESTION_5,
                                                     IDS_HINT_QUESTION_6};
    CString text;
    if (index >= 0 && index <= kHintQuestionCount && !text.LoadString(ids[index])) text.Empty();
    return text;
}

void CPasswordHint::MakeKey(const CSecretString& keyText, char key[16])
{
    std::memset(key, 0, kBlock);
    size_t n = (size_t)keyText.GetLength();
    std::memcpy(key, keyText.c_str(), n < kBlock ? n : kBlock);
}

void CPasswordHint::EncryptBlocks(const char key[16], const CString& plainText, BYTE* out, size_t blocks)
{
    const char chain[kBlock] = {0};
    CRijndael cipher;
    cipher.PrepareKey(key, chain, 16, 16);
    const char* text = plainText.GetString();
    const size_t length = (size_t)plainText.GetLength();
    for (size_t i = 0; i < blocks; ++i) {
        char block[kBlock] = {0};
        size_t start = i * kBlock;
        size_t take = length - start < kBlock ? length - start : kBlock;
        std::memcpy(block, text + start, take);
        cipher.EncryptBlock16(block, reinterpret_cast<char*>(out + start));
    }
}

CString CPasswordHint::DecryptBlocks(const char key[16], const BYTE* buffer, size_t blocks)
{
    const char chain[kBlock] = {0};
    CRijndael cipher;
    cipher.PrepareKey(key, chain, 16, 16);
    CString result;
    for (size_t i = 0; i < blocks; ++i) {
        char block[kBlock];
        cipher.DecryptBlock16(reinterpret_cast<const char*>(buffer + i * kBlock), block);
        size_t n = 0;
        while (n < kBlock && block[n] != '\0') ++n;
        result.Append(block, (int)n);
    }
    return result;
}

std::vector<BYTE> CPasswordHint::EncryptText(const CSecretString& key, const CString& plainText)
{
    // Everything up to the first zero byte is the text.
    CString text(plainText.GetString());
    const size_t length = (size_t)text.GetLength();
    // Every byte of the text is encrypted: the last, short block too.
    const size_t blocks = (length + kBlock - 1) / kBlock;
    std::vector<BYTE> buffer;
    try {
        buffer.assign(blocks * kBlock + 1, 0);
    } catch (const std::bad_alloc&) {
        return std::vector<BYTE>();
    }
    char rawKey[kBlock];
    MakeKey(key, rawKey);
    EncryptBlocks(rawKey, text, buffer.data(), blocks);
    SecureZero(rawKey, sizeof rawKey);
    return buffer;
}

CString CPasswordHint::DecryptText(const CSecretString& key, const BYTE* buffer, int length)
{
    if (!buffer || length < (int)kBlock) return CString();
    char rawKey[kBlock];
    MakeKey(key, rawKey);
    CString text = DecryptBlocks(rawKey, buffer, (size_t)length / kBlock);
    SecureZero(rawKey, sizeof rawKey);
    return text;
}
