#pragma once
// CPasswordHint: a user's master-password hint, kept AES-encrypted in the
// user's preferences section. Behind one of six questions it is encrypted
// with the answer (and the question's text too, to check answers); without a
// question it is encrypted with a fixed fallback key and shown to anyone.
//
// Buffer form: the text in 16-byte AES-128 blocks (the last zero-padded,
// each encrypted on its own), then one plain zero byte; 16 x ceil(n / 16) + 1
// bytes for n text bytes. Keys are the first 16 bytes of the key text,
// zero-padded.
//
// Encryption and decryption are plain logic (both builds); the stored hint
// is reached through the program's preferences (windows build).
#include <vector>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CUserItem;
class CWnd;

// GetHint's modes.
const int kHintKeyFallback = 1;  // the key is the fallback key: no answer check
const int kHintKeyAnswer = 2;    // the key is an answer: checked first

// Hint states (CPasswordHint::GetHintState).
const int kHintNone = 0;
const int kHintWithoutQuestion = 1;
const int kHintBehindQuestion = 2;

const int kHintQuestionCount = 6;

class CPasswordHint {
public:
    // The key of a hint without a question.
    static const char kFallbackKey[];

    explicit CPasswordHint(CUserItem* user) : m_pUser(user) {}

    // Stores a hint behind question index (1 to 6) with the answer, or
    // without a question (index 0 or below, empty answer). False when
    // nothing could be stored: an answer without a question, an empty hint
    // without a question, or an unknown question (its number is stored).
    bool SetHint(int questionIndex, const CSecretString& answer, const CString& hint);
    // Question number 0; hint and question check emptied.
    void ClearHint();
    // kHintNone, kHintWithoutQuestion or kHintBehindQuestion.
    int GetHintState();
    // The stored question's text.
    CString GetQuestionText();
    // Whether the answer opens the stored question check (case-sensitive).
    bool CheckAnswer(const CSecretString& answer);
    // The hint decrypted with the key; "" for an empty key, a wrong answer
    // (mode kHintKeyAnswer) or no hint.
    CString GetHint(const CSecretString& key, int mode);

    // The buffer form of the text under the key; empty only when it could
    // not be allocated.
    static std::vector<BYTE> EncryptText(const CSecretString& key, const CString& plainText);
    // Every whole block of the buffer decrypted, each up to its first zero
    // byte, joined.
    static CString DecryptText(const CSecretString& key, const BYTE* buffer, int length);

private:
    static void MakeKey(const CSecretString& keyText, char key[16]);
    static void EncryptBlocks(const char key[16], const CString& plainText, BYTE* out, size_t blocks);
    static CString DecryptBlocks(const char key[16], const BYTE* buffer, size_t blocks);

    CUserItem* m_pUser;
};

// The question of an index from the string table (0: "Select hint
// question"); "" for any other index.
CString GetHintQuestionText(int index);
// Fills a drop-down list with the seven entries of index 0 to 6 and selects
// entry 0 (windows build).
void FillHintQuestionCombo(CWnd& combo);
