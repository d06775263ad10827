#include "core/crypto/Blowfish.h"

#include <cstring>

#include "core/crypto/BlowfishTables.h"

namespace {

inline uint32_t F(const BlowfishContext* ctx, uint32_t x)
{
    return ((ctx->S[0][x >> 24] + ctx->S[1][(x >> 16) & 0xFF]) ^ ctx->S[2][(x >> 8) & 0xFF]) + ctx->S[3][x & 0xFF];
}

inline void Encrypt(const BlowfishContext* ctx, uint32_t& left, uint32_t& right)
{
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= ctx->P[i];
        r ^= F(ctx, l) ^ ctx->P[i + 1];
        l ^= F(ctx, r);
    }
    left = r ^ ctx->P[17];
    right = l ^ ctx->P[16];
}

inline void Decrypt(const BlowfishContext* ctx, uint32_t& left, uint32_t& right)
{
    uint32_t l = left, r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= ctx->P[i];
        r ^= F(ctx, l) ^ ctx->P[i - 1];
        l ^= F(ctx, r);
    }
    left = r ^ ctx->P[0];
    right = l ^ ctx->P[1];
}

// Blocks are big-endian whatever the host; byte loads also make any alignment safe.
inline uint32_t LoadBE(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline void StoreBE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// The rounds of four blocks side by side: each block's rounds depend on one
// another, but the four blocks do not, so their table lookups overlap. Gives
// exactly what Encrypt or Decrypt gives for each block.
template <bool kEncrypt> inline void CryptFour(const BlowfishContext* ctx, uint32_t (&l)[4], uint32_t (&r)[4])
{
    const uint32_t* P = ctx->P;
    for (int k = 0; k < 16; k += 2) {
        const uint32_t outer = kEncrypt ? P[k] : P[17 - k];
        const uint32_t inner = kEncrypt ? P[k + 1] : P[16 - k];
#pragma GCC unroll 4
        for (int b = 0; b < 4; ++b) l[b] ^= outer;
#pragma GCC unroll 4
        for (int b = 0; b < 4; ++b) r[b] ^= F(ctx, l[b]) ^ inner;
#pragma GCC unroll 4
        for (int b = 0; b < 4; ++b) l[b] ^= F(ctx, r[b]);
    }
    const uint32_t toLeft = kEncrypt ? P[17] : P[0];
    const uint32_t toRight = kEncrypt ? P[16] : P[1];
#pragma GCC unroll 4
    for (int b = 0; b < 4; ++b) {
        const uint32_t left = r[b] ^ toLeft;
        r[b] = l[b] ^ toRight;
        l[b] = left;
    }
}

template <bool kEncrypt> void CryptBlocks(const BlowfishContext* ctx, const uint8_t* src, uint8_t* dst, uint16_t length)
{
    unsigned off = 0;
    for (; off + 32 <= length; off += 32) {
        uint32_t l[4], r[4];
#pragma GCC unroll 4
        for (int b = 0; b < 4; ++b) {
            l[b] = LoadBE(src + off + 8 * b);
            r[b] = LoadBE(src + off + 8 * b + 4);
        }
        CryptFour<kEncrypt>(ctx, l, r);
#pragma GCC unroll 4
        for (int b = 0; b < 4; ++b) {
            StoreBE(dst + off + 8 * b, l[b]);
            StoreBE(dst + off + 8 * b + 4, r[b]);
        }
    }
    for (; off + 8 <= length; off += 8) {
        uint32_t l = LoadBE(src + off), r = LoadBE(src + off + 4);
        if (kEncrypt)
            Encrypt(ctx, l, r);
        else
            Decrypt(ctx, l, r);
        StoreBE(dst + off, l);
        StoreBE(dst + off + 4, r);
    }
}

}  // namespace

void BlowfishInit(BlowfishContext* ctx, const uint8_t* key, int32_t keyLength)
{
    static const uint8_t kZeroKey[1] = {0};
    if (keyLength <= 0 || key == nullptr) {
        key = kZeroKey;
        keyLength = 1;
    }

    std::memcpy(ctx->S, kBlowfishInitS, sizeof ctx->S);
    int32_t j = 0;
    for (int i = 0; i < 18; ++i) {
        uint32_t word = 0;
        for (int b = 0; b < 4; ++b) {
            word = (word << 8) | key[j];
            if (++j >= keyLength) j = 0;
        }
        ctx->P[i] = kBlowfishInitP[i] ^ word;
    }

    uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        Encrypt(ctx, l, r);
        ctx->P[i] = l;
        ctx->P[i + 1] = r;
    }
    for (auto& box : ctx->S) {
        for (int i = 0; i < 256; i += 2) {
            Encrypt(ctx, l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

BlowfishContext* BlowfishInitContext(BlowfishContext* ctx, const uint8_t* key, int32_t keyLength)
{
    BlowfishInit(ctx, key, keyLength);
    return ctx;
}

void BlowfishEncryptBlock(const BlowfishContext* ctx, const uint32_t in[2], uint32_t out[2])
{
    uint32_t l = in[0], r = in[1];
    Encrypt(ctx, l, r);
    out[0] = l;
    out[1] = r;
}

void BlowfishDecryptBlock(const BlowfishContext* ctx, const uint32_t in[2], uint32_t out[2])
{
    uint32_t l = in[0], r = in[1];
    Decrypt(ctx, l, r);
    out[0] = l;
    out[1] = r;
}

void BlowfishEncryptECB(const BlowfishContext* ctx, const uint8_t* src, uint8_t* dst, uint16_t length)
{
    CryptBlocks<true>(ctx, src, dst, length);
}

void BlowfishDecryptECB(const BlowfishContext* ctx, const uint8_t* src, uint8_t* dst, uint16_t length)
{
    CryptBlocks<false>(ctx, src, dst, length);
}

void BlowfishCryptInPlace(uint16_t length, uint8_t* buffer, const BlowfishContext* ctx, int encrypt)
{
    if (encrypt)
        CryptBlocks<true>(ctx, buffer, buffer, length);
    else
        CryptBlocks<false>(ctx, buffer, buffer, length);
}

void BlowfishDecryptInPlaceEven(uint8_t* blob, int32_t startOffset, uint16_t length, const BlowfishContext* ctx)
{
    if (startOffset < 0) return;
    if (startOffset & 1) {
        // The old format kept the body at an even offset; from an odd one it
        // starts a byte later. With nothing left there is nothing to decrypt
        // (and the length must not wrap round to 65535).
        if (length == 0) return;
        ++startOffset;
        --length;
    }
    CryptBlocks<false>(ctx, blob + startOffset, blob + startOffset, length);
}
