#pragma once
// CTimer: the one timer of the process that ends the plug-in's unlock after
// the chosen minutes, again at the end of every period. Its listener is the
// communicator of the last unlock; a communicator that goes away detaches
// itself, and an expiry without a listener still locks the process.
#include <cstdint>
#include <memory>

class ITimerListener {
public:
    virtual void OnTimer() = 0;

protected:
    ~ITimerListener() = default;
};

class CTimer {
public:
    CTimer() = default;
    ~CTimer();
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    // The process-wide instance, made on first use.
    static std::shared_ptr<CTimer> Instance();
    // Stops the running timer and starts one of minutes x 60000 ms that calls
    // the listener.
    void Start(int minutes, ITimerListener* listener);
    // The listener goes: the timer keeps running without it.
    void Detach(ITimerListener* listener);
    // The end of a period (the timer procedure).
    void Fire();

    uintptr_t GetId() const { return m_id; }
    ITimerListener* GetListener() const { return m_listener; }

private:
    uintptr_t m_id = 0;
    ITimerListener* m_listener = nullptr;
};

// What every expiry does for the whole process, listener or not: clears the
// unlocked flag and wipes the master key.
void LockPluginProcess();
