#include "core/crypto/SystemRandom.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>

bool SystemRandomBytes(void* buffer, size_t size)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = getrandom(p + done, size - done, 0);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    if (done == size) return true;
    // Kernels without getrandom: the device gives the same generator.
    FILE* f = std::fopen("/dev/urandom", "rb");
    if (!f) return false;
    size_t got = std::fread(p + done, 1, size - done, f);
    std::fclose(f);
    return got == size - done;
}
