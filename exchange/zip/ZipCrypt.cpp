#include "exchange/zip/ZipCrypt.h"

#include <zlib.h>

#include "core/crypto/SecureZero.h"

uint32_t ZipCrc32(uint32_t crc, const void* data, size_t size)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    // zlib's crc32 takes lengths in unsigned int.
    while (size > 0) {
        unsigned int n = size > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(size);
        crc = static_cast<uint32_t>(crc32(crc, p, n));
        p += n;
        size -= n;
    }
    return crc;
}

namespace {

uint32_t CrcByte(uint32_t crc, unsigned char b)
{
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xff] ^ (crc >> 8);
}

}  // namespace

void CZipCrypt::Init(const char* password, size_t length)
{
    m_keys[0] = 0x12345678;
    m_keys[1] = 0x23456789;
    m_keys[2] = 0x34567890;
    for (size_t i = 0; i < length; ++i) Update(static_cast<unsigned char>(password[i]));
}

unsigned char CZipCrypt::StreamByte() const
{
    uint32_t t = (m_keys[2] & 0xffff) | 2;
    return static_cast<unsigned char>(((t * (t ^ 1)) >> 8) & 0xff);
}

void CZipCrypt::Update(unsigned char plain)
{
    m_keys[0] = CrcByte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xff)) * 134775813u + 1;
    m_keys[2] = CrcByte(m_keys[2], static_cast<unsigned char>(m_keys[1] >> 24));
}

void CZipCrypt::Encrypt(unsigned char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        unsigned char plain = data[i];
        data[i] = plain ^ StreamByte();
        Update(plain);
    }
}

void CZipCrypt::Decrypt(unsigned char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        data[i] ^= StreamByte();
        Update(data[i]);
    }
}

void CZipCrypt::Wipe() { SecureZero(m_keys, sizeof(m_keys)); }
