#include "core/values/CellCompare.h"

#include <cfloat>
#include <cmath>

namespace {

// Set once at start-up, read when lists sort.
char g_decimalSeparator = 0;
char g_dateSeparator = 0;
int g_dateOrder = 0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Sign3(long long a, long long b) { return a > b ? 1 : (a < b ? -1 : 0); }

}  // namespace

void SetLocaleFormats(char decimalSeparator, char dateSeparator, int dateOrder)
{
    g_decimalSeparator = decimalSeparator;
    g_dateSeparator = dateSeparator;
    g_dateOrder = dateOrder >= 0 && dateOrder <= 2 ? dateOrder : kDateOrderMonthDayYear;
}

bool ParseCellDate(const CString& text, CellDate& date)
{
    // Up to three numbers, kept modulo 2^32 as 32-bit numbers are.
    uint32_t numbers[3] = {0, 0, 0};
    int separators = 0;
    const char* p = text.GetString();
    for (; *p; ++p) {
        if (IsDigit(*p)) {
            numbers[separators] = numbers[separators] * 10u + static_cast<uint32_t>(*p - '0');
        } else if (*p == g_dateSeparator && separators < 2) {
            ++separators;
        } else {
            return false;
        }
    }
    const int32_t x = static_cast<int32_t>(numbers[0]);
    const int32_t y = static_cast<int32_t>(numbers[1]);
    const int32_t z = static_cast<int32_t>(numbers[2]);
    int64_t year = 0, month = 0, day = 0;
    bool checkDay = true;
    if (separators == 0) {
        date.year = x;
        date.month = 0;
        date.day = 0;
        return true;
    }
    if (separators == 1) {
        if (y > 99) {
            year = y, month = x, day = 1, checkDay = false;
        } else if (x > 99) {
            year = x, month = y, day = 1, checkDay = false;
        } else if (g_dateOrder == kDateOrderDayMonthYear) {
            day = x, month = y;
        } else {
            month = x, day = y;
        }
    } else {
        if (g_dateOrder == kDateOrderMonthDayYear)
            month = x, day = y, year = z;
        else if (g_dateOrder == kDateOrderDayMonthYear)
            day = x, month = y, year = z;
        else
            year = x, month = y, day = z;
        // Two-digit years: 00..39 are this century, 40..99 the last.
        if (year < 40) year += 2000;
        if (year < 100) year += 1900;
    }
    if (month < 1 || month > 12) return false;
    if (checkDay && (day < 1 || day > 31)) return false;
    date.year = static_cast<int32_t>(year);
    date.month = static_cast<int16_t>(month);
    date.day = static_cast<int16_t>(day);
    return true;
}

bool ParseCellVersion(const CString& text, uint32_t& value)
{
    uint32_t result = 0, part = 0;
    int dots = 0;
    for (const char* p = text.GetString(); *p; ++p) {
        if (IsDigit(*p)) {
            part = part * 10u + static_cast<uint32_t>(*p - '0');
        } else if (*p == '.' && dots < 3) {
            result = (result << 8) + part;
            part = 0;
            ++dots;
        } else {
            return false;
        }
    }
    if (dots != 3) return false;
    value = (result << 8) + part;
    return true;
}

float ParseCellNumber(const CString& text, int ignoreCase)
{
    const char* p = text.GetString();
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    double value = 0;
    bool inFraction = false;
    double weight = 0.1;  // of the next fraction digit
    for (; *p; ++p) {
        if (IsDigit(*p)) {
            if (inFraction) {
                value += (*p - '0') * weight;
                weight /= 10;
            } else {
                value = value * 10 + (*p - '0');
            }
        } else if (*p == g_decimalSeparator && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (*p) {
        // The rest of the text, one character per step of 1/256.
        double w = (inFraction ? weight : 1.0) / 256;
        for (; *p && w >= 1e-30; ++p) {
            unsigned c = static_cast<unsigned char>(*p);
            if (ignoreCase == 1 && c >= 'A' && c <= 'Z') c += 'a' - 'A';
            value += c * w;
            w /= 256;
        }
    }
    if (negative) value = -value;
    // Beyond the float range: the infinity of that sign, not an undefined cast.
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

namespace {

bool StartsWithDigit(const CString& text)
{
    const char* p = text.GetString();
    if (*p && (*p == g_decimalSeparator || *p == '-')) ++p;
    return IsDigit(*p);
}

// The runtime's collation in its default ("C") locale: bytes, and with
// ignoreCase A-Z read as a-z.
int CompareText(const CString& a, const CString& b, bool ignoreCase)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a.GetString());
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b.GetString());
    for (;; ++p, ++q) {
        unsigned c = *p, d = *q;
        if (ignoreCase) {
            if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
            if (d >= 'A' && d <= 'Z') d += 'a' - 'A';
        }
        if (c != d) return c < d ? -1 : 1;
        if (c == 0) return 0;
    }
}

}  // namespace

int16_t CompareSortText(const CString& a, const CString& b, bool ignoreCase)
{
    CellDate da, db;
    if (ParseCellDate(a, da) && ParseCellDate(b, db)) {
        if (da.year != db.year) return da.year < db.year ? -1 : 1;
        int16_t months = static_cast<int16_t>(da.month - db.month);
        if (months != 0) return months;
        return static_cast<int16_t>(da.day - db.day);
    }
    uint32_t va, vb;
    if (ParseCellVersion(a, va) && ParseCellVersion(b, vb)) return static_cast<int16_t>(Sign3(va, vb));
    if (StartsWithDigit(a) && StartsWithDigit(b)) {
        float fa = ParseCellNumber(a, ignoreCase ? 1 : 0);
        float fb = ParseCellNumber(b, ignoreCase ? 1 : 0);
        return static_cast<int16_t>(fa < fb ? -1 : (fa > fb ? 1 : 0));
    }
    return static_cast<int16_t>(CompareText(a, b, ignoreCase));
}
