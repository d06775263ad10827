#pragma once
// An injectable clock: while the object lives, CDateValue::InitNow (and so
// everything that asks for "now") gives the time set here instead of the
// system's local time. The previous clock comes back when it goes.
#include "core/os/ProcessSeams.h"
#include "core/values/DateValue.h"

namespace zvtest {

class FixedClock {
public:
    explicit FixedClock(const CDateValue& now) : m_previous(SetLocalClock(&FixedClock::Read)) { Now() = now; }
    // "YYYY-MM-DD hh:mm:ss" (the event log's timestamp form).
    explicit FixedClock(const char* timestamp) : FixedClock(Parse(timestamp)) {}
    ~FixedClock() { SetLocalClock(m_previous); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void Set(const CDateValue& now) { Now() = now; }
    void Set(const char* timestamp) { Now() = Parse(timestamp); }

private:
    // The parser takes the seconds only when a blank follows them.
    static CDateValue Parse(const char* timestamp)
    {
        return CDateValue(CString(timestamp) + " ", CDateValue::kTimestamp);
    }
    static CDateValue& Now()
    {
        static CDateValue now;
        return now;
    }
    static void Read(CDateValue& value) { value = Now(); }

    LocalClockFn m_previous;
};

}  // namespace zvtest
