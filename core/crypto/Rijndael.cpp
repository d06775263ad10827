#include "core/crypto/Rijndael.h"

#include "core/crypto/SecureZero.h"

#include <cstring>
#include <stdexcept>

namespace {

// GF(2^8) with the AES polynomial x^8 + x^4 + x^3 + x + 1.
uint8_t Mul(uint8_t a, uint8_t b)
{
    uint8_t product = 0;
    while (b) {
        if (b & 1) product ^= a;
        a = uint8_t((a << 1) ^ ((a & 0x80) ? 0x1B : 0));
        b >>= 1;
    }
    return product;
}

uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3;
}

uint32_t Rotr8(uint32_t w, int n) { return n ? (w >> (8 * n)) | (w << (32 - 8 * n)) : w; }

// The cipher's tables, derived once from the field: the S-box is the
// multiplicative inverse followed by the affine map; each round table folds
// SubBytes and MixColumns (or their inverses) for one byte position.
struct Tables {
    uint8_t sbox[256];
    uint8_t inv[256];
    uint32_t te[4][256];
    uint32_t td[4][256];
    uint32_t u[4][256];  // inverse MixColumns of a raw byte, for the key schedule
    uint8_t rcon[32];

    Tables()
    {
        uint8_t inverse[256] = {0};
        for (int a = 1; a < 256; ++a)
            for (int b = 1; b < 256; ++b)
                if (Mul(uint8_t(a), uint8_t(b)) == 1) {
                    inverse[a] = uint8_t(b);
                    break;
                }
        for (int x = 0; x < 256; ++x) {
            uint8_t b = inverse[x];
            uint8_t s = b;
            for (int i = 1; i <= 4; ++i) s ^= uint8_t((b << i) | (b >> (8 - i)));
            s ^= 0x63;
            sbox[x] = s;
            inv[s] = uint8_t(x);
        }
        for (int x = 0; x < 256; ++x) {
            uint8_t s = sbox[x];
            uint32_t e = Word(Mul(s, 2), s, s, Mul(s, 3));
            uint8_t i = inv[x];
            uint32_t d = Word(Mul(i, 14), Mul(i, 9), Mul(i, 13), Mul(i, 11));
            uint8_t r = uint8_t(x);
            uint32_t k = Word(Mul(r, 14), Mul(r, 9), Mul(r, 13), Mul(r, 11));
            for (int t = 0; t < 4; ++t) {
                te[t][x] = Rotr8(e, t);
                td[t][x] = Rotr8(d, t);
                u[t][x] = Rotr8(k, t);
            }
        }
        uint8_t c = 1;
        for (auto& r : rcon) {
            r = c;
            c = Mul(c, 2);
        }
    }
};

const Tables& T()
{
    static const Tables tables;
    return tables;
}

// Rijndael's row-shift offsets of rows 1..3, by block words.
void ShiftOffsets(int blockWords, int shifts[4])
{
    shifts[0] = 0;
    shifts[1] = 1;
    shifts[2] = blockWords == 8 ? 3 : 2;
    shifts[3] = blockWords == 8 ? 4 : 3;
}

uint32_t ReadWord(const char* p)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
    return Word(b[0], b[1], b[2], b[3]);
}

void WriteWord(char* p, uint32_t w)
{
    p[0] = char(w >> 24);
    p[1] = char(w >> 16);
    p[2] = char(w >> 8);
    p[3] = char(w);
}

[[noreturn]] void Fail(const char* message) { throw std::runtime_error(message); }

}  // namespace

CRijndael::CRijndael() : m_bKeyInit(false), m_keylength(0), m_blockSize(0), m_iROUNDS(0)
{
    std::memset(m_Ke, 0, sizeof m_Ke);
    std::memset(m_Kd, 0, sizeof m_Kd);
    std::memset(m_chain0, 0, sizeof m_chain0);
    std::memset(m_chain, 0, sizeof m_chain);
    std::memset(tk, 0, sizeof tk);
}

CRijndael::~CRijndael()
{
    // The round keys and chain blocks derive from the hint key.
    SecureZero(m_Ke, sizeof(m_Ke));
    SecureZero(m_Kd, sizeof(m_Kd));
    SecureZero(m_chain0, sizeof(m_chain0));
    SecureZero(m_chain, sizeof(m_chain));
}

void CRijndael::PrepareKey(const char* key, const char* chain, int keyLength, int blockSize)
{
    if (!key) Fail("Empty key");
    if (keyLength != 16 && keyLength != 24 && keyLength != 32) Fail("Incorrect key length");
    if (blockSize != 16 && blockSize != 24 && blockSize != 32) Fail("Incorrect block length");
    // A failed set-up leaves no usable key behind.
    m_bKeyInit = false;
    m_keylength = keyLength;
    m_blockSize = blockSize;
    if (chain)
        std::memcpy(m_chain0, chain, size_t(blockSize));
    else
        std::memset(m_chain0, 0, sizeof m_chain0);
    std::memcpy(m_chain, m_chain0, sizeof m_chain);

    const int keyWords = keyLength / 4;
    const int blockWords = blockSize / 4;
    m_iROUNDS = (keyWords > blockWords ? keyWords : blockWords) + 6;

    std::memset(m_Ke, 0, sizeof m_Ke);
    std::memset(m_Kd, 0, sizeof m_Kd);

    const Tables& t = T();
    const int total = (m_iROUNDS + 1) * blockWords;
    uint32_t w[(kMaxRounds + 1) * kMaxBlockWords];
    for (int i = 0; i < keyWords; ++i) tk[i] = ReadWord(key + 4 * i);
    for (int i = 0; i < total; ++i) {
        if (i < keyWords) {
            w[i] = tk[i];
            continue;
        }
        uint32_t temp = w[i - 1];
        auto sub = [&t](uint32_t v) {
            return Word(t.sbox[v >> 24], t.sbox[(v >> 16) & 0xFF], t.sbox[(v >> 8) & 0xFF], t.sbox[v & 0xFF]);
        };
        if (i % keyWords == 0)
            temp = sub((temp << 8) | (temp >> 24)) ^ (uint32_t(t.rcon[i / keyWords - 1]) << 24);
        else if (keyWords > 6 && i % keyWords == 4)
            temp = sub(temp);
        w[i] = w[i - keyWords] ^ temp;
    }
    for (int r = 0; r <= m_iROUNDS; ++r)
        for (int j = 0; j < blockWords; ++j) {
            m_Ke[r][j] = w[r * blockWords + j];
            m_Kd[m_iROUNDS - r][j] = w[r * blockWords + j];
        }
    for (int r = 1; r < m_iROUNDS; ++r)
        for (int j = 0; j < blockWords; ++j) {
            uint32_t v = m_Kd[r][j];
            m_Kd[r][j] = t.u[0][v >> 24] ^ t.u[1][(v >> 16) & 0xFF] ^ t.u[2][(v >> 8) & 0xFF] ^ t.u[3][v & 0xFF];
        }
    std::memset(tk, 0, sizeof tk);
    std::memset(w, 0, sizeof w);
    m_bKeyInit = true;
}

void CRijndael::CheckKeyed() const
{
    if (!m_bKeyInit) Fail("Object not Initialized");
}

void CRijndael::EncryptWords(int blockWords, const char* in, char* out) const
{
    const Tables& t = T();
    int c[4];
    ShiftOffsets(blockWords, c);
    uint32_t s[kMaxBlockWords], n[kMaxBlockWords];
    for (int j = 0; j < blockWords; ++j) s[j] = ReadWord(in + 4 * j) ^ m_Ke[0][j];
    for (int r = 1; r < m_iROUNDS; ++r) {
        for (int j = 0; j < blockWords; ++j)
            n[j] = t.te[0][s[j] >> 24] ^ t.te[1][(s[(j + c[1]) % blockWords] >> 16) & 0xFF] ^
                   t.te[2][(s[(j + c[2]) % blockWords] >> 8) & 0xFF] ^ t.te[3][s[(j + c[3]) % blockWords] & 0xFF] ^
                   m_Ke[r][j];
        std::memcpy(s, n, sizeof(uint32_t) * size_t(blockWords));
    }
    for (int j = 0; j < blockWords; ++j) {
        uint32_t v = Word(t.sbox[s[j] >> 24], t.sbox[(s[(j + c[1]) % blockWords] >> 16) & 0xFF],
                          t.sbox[(s[(j + c[2]) % blockWords] >> 8) & 0xFF], t.sbox[s[(j + c[3]) % blockWords] & 0xFF]);
        WriteWord(out + 4 * j, v ^ m_Ke[m_iROUNDS][j]);
    }
}

void CRijndael::DecryptWords(int blockWords, const char* in, char* out) const
{
    const Tables& t = T();
    int c[4];
    ShiftOffsets(blockWords, c);
    // The inverse row shift takes from the columns to the left.
    for (int i = 1; i < 4; ++i) c[i] = blockWords - c[i];
    uint32_t s[kMaxBlockWords], n[kMaxBlockWords];
    for (int j = 0; j < blockWords; ++j) s[j] = ReadWord(in + 4 * j) ^ m_Kd[0][j];
    for (int r = 1; r < m_iROUNDS; ++r) {
        for (int j = 0; j < blockWords; ++j)
            n[j] = t.td[0][s[j] >> 24] ^ t.td[1][(s[(j + c[1]) % blockWords] >> 16) & 0xFF] ^
                   t.td[2][(s[(j + c[2]) % blockWords] >> 8) & 0xFF] ^ t.td[3][s[(j + c[3]) % blockWords] & 0xFF] ^
                   m_Kd[r][j];
        std::memcpy(s, n, sizeof(uint32_t) * size_t(blockWords));
    }
    for (int j = 0; j < blockWords; ++j) {
        uint32_t v = Word(t.inv[s[j] >> 24], t.inv[(s[(j + c[1]) % blockWords] >> 16) & 0xFF],
                          t.inv[(s[(j + c[2]) % blockWords] >> 8) & 0xFF], t.inv[s[(j + c[3]) % blockWords] & 0xFF]);
        WriteWord(out + 4 * j, v ^ m_Kd[m_iROUNDS][j]);
    }
}

void CRijndael::EncryptBlock16(const char* in, char* out)
{
    CheckKeyed();
    if (m_blockSize != 16) Fail("Incorrect block length");
    EncryptWords(4, in, out);
}

void CRijndael::DecryptBlock16(const char* in, char* out)
{
    CheckKeyed();
    if (m_blockSize != 16) Fail("Incorrect block length");
    DecryptWords(4, in, out);
}

void CRijndael::EncryptVarBlock(const char* in, char* out)
{
    CheckKeyed();
    if (m_blockSize == 16)
        EncryptBlock16(in, out);
    else
        EncryptWords(m_blockSize / 4, in, out);
}

void CRijndael::DecryptVarBlock(const char* in, char* out)
{
    CheckKeyed();
    if (m_blockSize == 16)
        DecryptBlock16(in, out);
    else
        DecryptWords(m_blockSize / 4, in, out);
}
