#pragma once
// CRijndael: the Rijndael block cipher. With 16-byte blocks it is AES
// (FIPS 197); 24- and 32-byte blocks follow Rijndael as first published.
// Keys are 16, 24 or 32 bytes. Single blocks only: the password hint chains
// nothing and encrypts its text block by block.
//
// A bad key set-up, or a block operation before one, throws
// std::runtime_error whose what() is one of "Empty key", "Incorrect key
// length", "Incorrect block length", "Object not Initialized".
#include <cstdint>

class CRijndael {
public:
    CRijndael();
    virtual ~CRijndael();

    // Key set-up. The chain block (block-size bytes; null counts as zeros)
    // is only remembered: no operation here chains.
    void PrepareKey(const char* key, const char* chain, int keyLength = 16, int blockSize = 16);

    // One block of the prepared block size; a 16-byte block size goes through
    // the fixed AES paths.
    void EncryptVarBlock(const char* in, char* out);
    void DecryptVarBlock(const char* in, char* out);

    // The fixed 16-byte paths; the object must have been prepared with a
    // 16-byte block size ("Incorrect block length" otherwise).
    void EncryptBlock16(const char* in, char* out);
    void DecryptBlock16(const char* in, char* out);

private:
    static const int kMaxRounds = 14;
    static const int kMaxBlockWords = 8;

    void CheckKeyed() const;
    void EncryptWords(int blockWords, const char* in, char* out) const;
    void DecryptWords(int blockWords, const char* in, char* out) const;

    bool m_bKeyInit;
    uint32_t m_Ke[kMaxRounds + 1][kMaxBlockWords];  // encryption round keys
    uint32_t m_Kd[kMaxRounds + 1][kMaxBlockWords];  // decryption round keys (equivalent inverse cipher)
    int m_keylength;
    int m_blockSize;
    int m_iROUNDS;
    char m_chain0[32];
    char m_chain[32];
    uint32_t tk[8];  // key expansion working space
};
