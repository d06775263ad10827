#pragma once
// The zip format's CRC-32 and its traditional PKWARE encryption: three keys
// fed with the password, each byte XORed with a key stream byte.
#include <cstddef>
#include <cstdint>

uint32_t ZipCrc32(uint32_t crc, const void* data, size_t size);

class CZipCrypt {
public:
    // Starts the keys at their fixed values and feeds them the password.
    void Init(const char* password, size_t length);
    void Encrypt(unsigned char* data, size_t size);
    void Decrypt(unsigned char* data, size_t size);
    // Zeros the keys.
    void Wipe();

private:
    unsigned char StreamByte() const;
    void Update(unsigned char plain);

    uint32_t m_keys[3] = {0, 0, 0};
};
