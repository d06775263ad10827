#include "core/crypto/SystemRandom.h"

#include <windows.h>
#include <bcrypt.h>

bool SystemRandomBytes(void* buffer, size_t size)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        ULONG chunk = size > 0x10000000u ? 0x10000000u : ULONG(size);
        if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, p, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return false;
        p += chunk;
        size -= chunk;
    }
    return true;
}
