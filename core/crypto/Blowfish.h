#pragma once
#include <cstdint>

// Blowfish (64-bit blocks, 16 rounds), used everywhere in the record store in
// electronic-code-book mode without padding or initialisation vector.

// The key schedule: exactly 4168 bytes, no key copy and no length, so that it
// can be allocated, copied and swapped as a plain block. Once keyed it is only
// read, so one context may serve several threads.
struct BlowfishContext {
    uint32_t P[18];
    uint32_t S[4][256];
};
static_assert(sizeof(BlowfishContext) == 4168, "BlowfishContext is a 4168-byte block");

// Keys the context. The key bytes are used cyclically; a key longer than 72
// bytes contributes its first 72. A length of 0 or less is keyed as a single
// zero byte (the terminator of an empty text key); the key is then not read.
void BlowfishInit(BlowfishContext* ctx, const uint8_t* key, int32_t keyLength);

// The same key schedule, returning the context it keyed.
BlowfishContext* BlowfishInitContext(BlowfishContext* ctx, const uint8_t* key, int32_t keyLength);

// One block as two host-order words: block[0] left, block[1] right. in and out
// may be the same words.
void BlowfishEncryptBlock(const BlowfishContext* ctx, const uint32_t in[2], uint32_t out[2]);
void BlowfishDecryptBlock(const BlowfishContext* ctx, const uint32_t in[2], uint32_t out[2]);

// Whole 8-byte blocks of a buffer, each read and written as two big-endian
// words. length / 8 blocks are processed; the last length % 8 bytes of the
// destination are left as they were. Source and destination may be the same.
void BlowfishEncryptECB(const BlowfishContext* ctx, const uint8_t* src, uint8_t* dst, uint16_t length);
void BlowfishDecryptECB(const BlowfishContext* ctx, const uint8_t* src, uint8_t* dst, uint16_t length);

// In place, at any address: encrypt non-zero encrypts, zero decrypts.
void BlowfishCryptInPlace(uint16_t length, uint8_t* buffer, const BlowfishContext* ctx, int encrypt);

// In-place decryption of the body of an old (version 2) record inside its blob:
// from an odd start offset the body starts one byte later and is one byte
// shorter. A negative offset, or nothing left to decrypt, changes nothing.
void BlowfishDecryptInPlaceEven(uint8_t* blob, int32_t startOffset, uint16_t length, const BlowfishContext* ctx);
