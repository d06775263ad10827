#pragma once
// CSecretString: a password text that zeros its own memory whenever the text
// is replaced, emptied or destroyed. It keeps the bytes in a buffer of its
// own (CString's storage may be reallocated behind our back and never wiped);
// each new text gets a new buffer and the old one is wiped before it is
// freed, so no stale copy is left on the heap. A move hands the buffer over
// without copying it.
//
// Taking a secret from a CString or a literal is implicit; giving one out is
// only ever c_str(), so a copy into an unwiped CString is always visible in
// the code.
#include <cstddef>

class CString;

class CSecretString {
public:
    CSecretString() noexcept = default;
    CSecretString(const char* text);  // NOLINT: null gives an empty text
    CSecretString(const char* text, int length);
    CSecretString(const CString& text);  // NOLINT
    CSecretString(const CSecretString& other);
    CSecretString(CSecretString&& other) noexcept;
    CSecretString& operator=(const CSecretString& other);
    CSecretString& operator=(CSecretString&& other) noexcept;
    ~CSecretString();

    // Never null; zero-terminated (the text may hold zero bytes of its own).
    const char* c_str() const { return m_text ? m_text : ""; }
    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    // Wipes the text and frees its buffer.
    void Empty() noexcept;

    // Byte-wise as unsigned characters, then by length: <0, 0 or >0.
    int Compare(const CSecretString& other) const;
    friend bool operator==(const CSecretString& a, const CSecretString& b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CSecretString& a, const CSecretString& b) { return a.Compare(b) != 0; }

    // For reading a text straight into the secret's own memory: the old text
    // is wiped and a zero-filled buffer of length bytes plus the terminating
    // zero is returned; Truncate then sets the length actually written.
    char* GetBufferSetLength(int length);
    // Keeps the first length bytes (clamped to the text) and zeros the rest.
    void Truncate(int length) noexcept;

private:
    // Takes the bytes into a new buffer; the old one is wiped and freed.
    void Assign(const char* text, int length);

    char* m_text = nullptr;
    int m_length = 0;
    // Bytes allocated: at least m_length + 1 (more after Truncate).
    size_t m_size = 0;
};

// Tests watch the release of buffers: the observer sees each buffer after it
// was wiped and before it is freed (nullptr: no observer).
using SecretWipeObserver = void (*)(const char* buffer, size_t size);
void SetSecretWipeObserver(SecretWipeObserver observer);
