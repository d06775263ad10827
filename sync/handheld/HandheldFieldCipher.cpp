#include "sync/handheld/HandheldFieldCipher.h"

#include <cstring>

#include "core/crypto/SecureZero.h"
#include "sync/handheld/HandheldResult.h"

namespace {
// The handheld application's fixed key of the password column.
const char kPasswordColumnKey[] = "Wm3;k8*Tq^x1/Zr7{Pvb";

// Deciphers the whole blocks of blob into plain (zero-filled, one byte
// longer than the blocks so the text always ends).
void DecryptBlocks(const BlowfishContext* context, const void* blob, int bytes, std::vector<uint8_t>& plain)
{
    int whole = bytes / 8 * 8;
    plain.assign(static_cast<size_t>(whole) + 1, 0);
    BlowfishDecryptECB(context, static_cast<const uint8_t*>(blob), plain.data(), static_cast<uint16_t>(whole));
}

int TextLength(const std::vector<uint8_t>& bytes)
{
    return static_cast<int>(strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
}  // namespace

CHandheldFieldCipher::CHandheldFieldCipher() = default;

CHandheldFieldCipher::~CHandheldFieldCipher()
{
    if (m_context) SecureZero(m_context.get(), sizeof(BlowfishContext));
}

void CHandheldFieldCipher::SetPassword(const CSecretString& password)
{
    if (m_context || password.IsEmpty()) return;
    m_context.reset(new BlowfishContext);
    BlowfishInitContext(m_context.get(), reinterpret_cast<const uint8_t*>(password.c_str()), password.GetLength());
}

int CHandheldFieldCipher::Decrypt(const void* blob, int bytes, CString& value, bool& hasValue) const
{
    value.Empty();
    hasValue = false;
    if (!blob && bytes > 0) return kHandheldNotReadable;
    if (!blob) return kHandheldOk;
    if (bytes < 0) bytes = 0;
    if (m_context) {
        if (bytes == 0) return kHandheldOk;
        if (bytes > kMaxCipheredFieldBytes) return kHandheldValueTooLong;
        std::vector<uint8_t> plain;
        DecryptBlocks(m_context.get(), blob, bytes, plain);
        value = CString(reinterpret_cast<const char*>(plain.data()), TextLength(plain));
        SecureZero(plain.data(), plain.size());
    } else {
        if (bytes > kMaxPlainFieldBytes) return kHandheldValueTooLong;
        const char* text = static_cast<const char*>(blob);
        value = CString(text, static_cast<int>(strnlen(text, static_cast<size_t>(bytes))));
    }
    hasValue = true;
    return kHandheldOk;
}

int CHandheldFieldCipher::Encrypt(const CString& text, std::vector<uint8_t>& blob) const
{
    int n = text.GetLength();
    if (!m_context) {
        if (n > kMaxPlainFieldBytes) return kHandheldValueTooLong;
        blob.assign(text.GetString(), text.GetString() + n);
        return kHandheldOk;
    }
    int padded = n / 8 * 8 + 8;
    if (padded > kMaxCipheredFieldBytes) return kHandheldValueTooLong;
    blob.assign(static_cast<size_t>(padded), 0);
    std::memcpy(blob.data(), text.GetString(), static_cast<size_t>(n));
    BlowfishEncryptECB(m_context.get(), blob.data(), blob.data(), static_cast<uint16_t>(padded));
    return kHandheldOk;
}

int DecryptHandheldPassword(const void* blob, int bytes, CSecretString& password)
{
    password.Empty();
    if (!blob || bytes <= 0) return kHandheldOk;
    if (bytes > kMaxCipheredFieldBytes) return kHandheldValueTooLong;
    BlowfishContext context;
    BlowfishInitContext(&context, reinterpret_cast<const uint8_t*>(kPasswordColumnKey),
                        static_cast<int32_t>(sizeof(kPasswordColumnKey) - 1));
    std::vector<uint8_t> plain;
    DecryptBlocks(&context, blob, bytes, plain);
    password = CSecretString(reinterpret_cast<const char*>(plain.data()), TextLength(plain));
    SecureZero(plain.data(), plain.size());
    SecureZero(&context, sizeof(context));
    return kHandheldOk;
}
