#pragma once
// A calendar date and time as the program reads and writes it in texts: the
// event log, the handheld sync's timestamps, exports and the update check.
// The fields follow the system's calendar-time structure, so a value can be
// copied to and from it byte for byte; nothing is validated.
#include <cstdint>

#include "framework/CString.h"

class CDateValue {
public:
    // Kinds for the first constructor.
    static const int kEmpty = 0;
    static const int kNow = 3;
    // Text forms for the parsing constructor.
    static const int kLongDate = 1;   // "March 05, 2009"
    static const int kTimestamp = 2;  // "2009-03-05 07:08:09 +0000"

    // kNow: the current local time; any other kind: all fields 0.
    explicit CDateValue(int kind = kEmpty);
    // Parses text in the given form; any other form leaves the value cleared.
    CDateValue(const CString& text, int format);

    void InitNow();
    void Clear();

    // "%.4d-%.2d-%.2d %.2d:%.2d:%.2d +0000" (the suffix is constant; the
    // value is local time).
    CString FormatTimestamp() const;
    // "%s %.2d, %.4d" of the English month name, day and year.
    CString FormatLong() const;
    // "%.2d/%.2d/%.4d" of month, day and year.
    CString FormatShort() const;

    void ParseTimestamp(const CString& text);
    void ParseLongDate(const CString& text);

    unsigned GetYear() const { return wYear; }
    unsigned GetMonth() const { return wMonth; }
    unsigned GetDay() const { return wDay; }
    unsigned GetHour() const { return wHour; }
    unsigned GetMinute() const { return wMinute; }
    unsigned GetSecond() const { return wSecond; }

    // Whole days from other to this value (this minus other), truncated
    // toward zero; both are read as local time under the daylight-saving
    // rule of their own date.
    long DaysAfter(const CDateValue& other) const;

    uint16_t wYear = 0;
    uint16_t wMonth = 0;      // 1..12
    uint16_t wDayOfWeek = 0;  // not used here
    uint16_t wDay = 0;        // 1..31
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;  // not used here
};
static_assert(sizeof(CDateValue) == 16, "CDateValue has the layout of the system's calendar-time structure");

// 1..12 for an English month name compared without regard to case (blanks
// count); -1 when none matches.
int MonthFromName(const CString& name);
// The English name of month 1..12; empty for any other number.
CString MonthName(int month);

// Compare year, month and day only: 1 when a is later, 0 same day, -1 earlier.
int CompareDates(const CDateValue& a, const CDateValue& b);
// The same down to the second (milliseconds ignored).
int CompareDateTimes(const CDateValue& a, const CDateValue& b);

// The current local time into a value (the system's clock; its own file per
// configuration). CDateValue::InitNow asks it unless a test put another clock
// in place (SetLocalClock, core/os/ProcessSeams.h).
void GetLocalDateValue(CDateValue& value);
// Seconds since the epoch of a local calendar time, under the daylight-saving
// rule of that date; 0 for a year before 1900.
long long LocalDateValueToSeconds(const CDateValue& value);
