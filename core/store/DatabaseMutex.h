#pragma once
// The named mutex that the desktop program and the browser plug-in share, so
// that neither reads the database file while the other writes it. Held
// around every load, save and verifier read, with a 10-second wait.
#include <cstdint>

constexpr char kDatabaseMutexName[] = "ZorvikanDatabaseMutex";
constexpr uint32_t kDatabaseMutexWaitMs = 10000;
// The error a lock reports when the wait ran out (the system's WAIT_TIMEOUT).
constexpr int kDatabaseMutexTimeout = 258;

// How long the store's loads, saves and verifier reads wait: 10 s unless a
// test changed it (SetDatabaseMutexWaitMs, core/os/ProcessSeams.h).
uint32_t DatabaseMutexWaitMs();

// Takes the mutex on construction (waiting up to waitMs) and lets it go on
// destruction. The same thread may take it again while it holds it.
class CDatabaseMutexLock {
public:
    explicit CDatabaseMutexLock(uint32_t waitMs = kDatabaseMutexWaitMs);
    ~CDatabaseMutexLock();
    CDatabaseMutexLock(const CDatabaseMutexLock&) = delete;
    CDatabaseMutexLock& operator=(const CDatabaseMutexLock&) = delete;

    bool IsLocked() const { return m_error == 0; }
    // 0 when held; kDatabaseMutexTimeout, or the system's error code.
    int Error() const { return m_error; }

private:
    void* m_handle = nullptr;
    int m_error = 0;
};
