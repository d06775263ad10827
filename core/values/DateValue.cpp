#include "core/values/DateValue.h"

#include <atomic>
#include <cctype>
#include <ctime>

#include "core/os/ProcessSeams.h"

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// A decimal number as the C runtime's atoi reads it (leading white space, a
// sign, digits up to the first other character, 0 without digits), kept
// modulo 2^16 since the fields it lands in are 16-bit: no overflow whatever
// the text holds.
uint16_t ParseField(const CString& text)
{
    const char* p = text.GetString();
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    uint16_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(*p - '0'));
        ++p;
    }
    return negative ? static_cast<uint16_t>(0u - value) : value;
}

template <typename T> int Sign3(T a, T b) { return a > b ? 1 : (a < b ? -1 : 0); }

}  // namespace

CDateValue::CDateValue(int kind)
{
    if (kind == kNow) InitNow();
}

CDateValue::CDateValue(const CString& text, int format)
{
    if (format == kTimestamp)
        ParseTimestamp(text);
    else if (format == kLongDate)
        ParseLongDate(text);
}

namespace {
std::atomic<LocalClockFn> g_localClock{nullptr};
}  // namespace

LocalClockFn SetLocalClock(LocalClockFn clock) { return g_localClock.exchange(clock); }

void CDateValue::InitNow()
{
    if (LocalClockFn clock = g_localClock.load())
        clock(*this);
    else
        GetLocalDateValue(*this);
}

void CDateValue::Clear() { *this = CDateValue(); }

CString CDateValue::FormatTimestamp() const
{
    CString s;
    s.Format("%.4d-%.2d-%.2d %.2d:%.2d:%.2d +0000", (int)wYear, (int)wMonth, (int)wDay, (int)wHour, (int)wMinute,
             (int)wSecond);
    return s;
}

CString CDateValue::FormatLong() const
{
    CString s;
    s.Format("%s %.2d, %.4d", MonthName(wMonth).GetString(), (int)wDay, (int)wYear);
    return s;
}

CString CDateValue::FormatShort() const
{
    CString s;
    s.Format("%.2d/%.2d/%.4d", (int)wMonth, (int)wDay, (int)wYear);
    return s;
}

void CDateValue::ParseTimestamp(const CString& text)
{
    // Six fields, each ended by its separator; a missing separator gives 0
    // and the next search starts from the beginning again.
    static const char kSeparators[6] = {'-', '-', ' ', ':', ':', ' '};
    uint16_t* const fields[6] = {&wYear, &wMonth, &wDay, &wHour, &wMinute, &wSecond};
    int start = 0;
    for (int i = 0; i < 6; ++i) {
        int end = text.Find(kSeparators[i], start);
        if (end < 0) {
            *fields[i] = 0;
            start = 0;
            continue;
        }
        *fields[i] = ParseField(text.Mid(start, end - start));
        start = end + 1;
    }
}

void CDateValue::ParseLongDate(const CString& text)
{
    int blank = text.Find(' ');
    wMonth = static_cast<uint16_t>(MonthFromName(text.Left(blank)));
    int comma = text.Find(',', blank + 1);
    wDay = ParseField(text.Mid(blank + 1, comma - blank - 1));
    wYear = ParseField(text.Mid(comma + 1));
}

long CDateValue::DaysAfter(const CDateValue& other) const
{
    long long diff = LocalDateValueToSeconds(*this) - LocalDateValueToSeconds(other);
    return static_cast<long>(diff / 86400);  // C++ division truncates toward zero
}

int MonthFromName(const CString& name)
{
    CString folded(name);
    folded.MakeLower();
    for (int i = 0; i < 12; ++i) {
        CString month(kMonthNames[i]);
        month.MakeLower();
        if (folded == month) return i + 1;
    }
    return -1;
}

CString MonthName(int month)
{
    if (month < 1 || month > 12) return CString();
    return CString(kMonthNames[month - 1]);
}

int CompareDates(const CDateValue& a, const CDateValue& b)
{
    if (int r = Sign3(a.wYear, b.wYear)) return r;
    if (int r = Sign3(a.wMonth, b.wMonth)) return r;
    return Sign3(a.wDay, b.wDay);
}

int CompareDateTimes(const CDateValue& a, const CDateValue& b)
{
    if (int r = CompareDates(a, b)) return r;
    if (int r = Sign3(a.wHour, b.wHour)) return r;
    if (int r = Sign3(a.wMinute, b.wMinute)) return r;
    return Sign3(a.wSecond, b.wSecond);
}

namespace {

// Days from 1970-01-01 to the first of the month in the proleptic Gregorian
// calendar; months outside 1..12 roll into the neighbouring years.
long long DaysToMonthStart(long long year, long long month)
{
    long long m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
    month = m0 - 12 * (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12)) + 1;
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

long long LocalDateValueToSeconds(const CDateValue& v)
{
    if (v.wYear < 1900) return 0;
    std::tm tm{};
    tm.tm_year = v.wYear - 1900;
    tm.tm_mon = v.wMonth - 1;
    tm.tm_mday = v.wDay;
    tm.tm_hour = v.wHour;
    tm.tm_min = v.wMinute;
    tm.tm_sec = v.wSecond;
    tm.tm_isdst = -1;  // the zone's own rule for that date
    std::time_t t = std::mktime(&tm);
    if (t != static_cast<std::time_t>(-1)) return static_cast<long long>(t);
    // Outside what the runtime converts (before 1970 in some runtimes): the
    // plain calendar count, without zone or daylight saving.
    return DaysToMonthStart(v.wYear, v.wMonth) * 86400 + (static_cast<long long>(v.wDay) - 1) * 86400 +
           v.wHour * 3600LL + v.wMinute * 60LL + v.wSecond;
}
