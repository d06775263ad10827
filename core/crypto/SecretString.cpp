#include "core/crypto/SecretString.h"

#include <atomic>
#include <cstring>
#include <utility>

#include "core/crypto/SecureZero.h"
#include "framework/CString.h"

namespace {

std::atomic<SecretWipeObserver> g_wipeObserver{nullptr};

void WipeAndFree(char* buffer, size_t size) noexcept
{
    if (!buffer) return;
    SecureZero(buffer, size);
    if (SecretWipeObserver observer = g_wipeObserver.load()) observer(buffer, size);
    delete[] buffer;
}

}  // namespace

CSecretString::CSecretString(const char* text)
{
    if (text) Assign(text, (int)std::strlen(text));
}

CSecretString::CSecretString(const char* text, int length)
{
    if (text) Assign(text, length);
}

CSecretString::CSecretString(const CString& text) { Assign(text.GetString(), text.GetLength()); }

CSecretString::CSecretString(const CSecretString& other) { Assign(other.m_text, other.m_length); }

CSecretString::CSecretString(CSecretString&& other) noexcept
    : m_text(std::exchange(other.m_text, nullptr)), m_length(std::exchange(other.m_length, 0)),
      m_size(std::exchange(other.m_size, 0))
{}

CSecretString& CSecretString::operator=(const CSecretString& other)
{
    if (this != &other) Assign(other.m_text, other.m_length);
    return *this;
}

CSecretString& CSecretString::operator=(CSecretString&& other) noexcept
{
    if (this != &other) {
        Empty();
        m_text = std::exchange(other.m_text, nullptr);
        m_length = std::exchange(other.m_length, 0);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

CSecretString::~CSecretString() { Empty(); }

void CSecretString::Empty() noexcept
{
    WipeAndFree(m_text, m_size);
    m_text = nullptr;
    m_length = 0;
    m_size = 0;
}

int CSecretString::Compare(const CSecretString& other) const
{
    const int common = m_length < other.m_length ? m_length : other.m_length;
    if (common > 0) {
        const int bytes = std::memcmp(m_text, other.m_text, (size_t)common);
        if (bytes != 0) return bytes;
    }
    return m_length < other.m_length ? -1 : (m_length > other.m_length ? 1 : 0);
}

char* CSecretString::GetBufferSetLength(int length)
{
    if (length < 0) length = 0;
    const size_t size = (size_t)length + 1;
    char* buffer = new char[size]();
    WipeAndFree(m_text, m_size);
    m_text = buffer;
    m_length = length;
    m_size = size;
    return buffer;
}

void CSecretString::Truncate(int length) noexcept
{
    if (length < 0) length = 0;
    if (length >= m_length) return;
    SecureZero(m_text + length, (size_t)(m_length - length));
    m_length = length;
}

void CSecretString::Assign(const char* text, int length)
{
    if (!text || length <= 0) {
        Empty();
        return;
    }
    const size_t size = (size_t)length + 1;
    char* buffer = new char[size];
    std::memcpy(buffer, text, (size_t)length);
    buffer[length] = '\0';
    WipeAndFree(m_text, m_size);
    m_text = buffer;
    m_length = length;
    m_size = size;
}

void SetSecretWipeObserver(SecretWipeObserver observer) { g_wipeObserver.store(observer); }
