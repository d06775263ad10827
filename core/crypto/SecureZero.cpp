#include "core/crypto/SecureZero.h"

#include "framework/CString.h"

void SecureZero(void* p, size_t n)
{
    if (!p) return;
    volatile unsigned char* v = static_cast<volatile unsigned char*>(p);
    while (n--) *v++ = 0;
    // Tell the optimiser the zeros are read, so the loop cannot be removed
    // even when the memory is freed right after.
    __asm__ __volatile__("" : : "r"(p) : "memory");
}

void SecureWipe(CString& text)
{
    const int length = text.GetLength();
    if (length > 0) {
        SecureZero(text.GetBuffer(), (size_t)length);
        text.ReleaseBuffer(0);
    }
    text.Empty();
}
