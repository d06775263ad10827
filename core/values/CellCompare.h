#pragma once
// Comparison of list cell texts so that dates sort as dates, dotted versions
// as versions, numbers as numbers and everything else as text. It reads the
// user locale's decimal separator, date separator and date order, which the
// application hands over once at start-up.
#include <cstdint>

#include "framework/CString.h"

// Date orders of the user's short date.
const int kDateOrderMonthDayYear = 0;
const int kDateOrderDayMonthYear = 1;
const int kDateOrderYearMonthDay = 2;

// Stores the locale settings; a date order outside 0..2 counts as 0.
void SetLocaleFormats(char decimalSeparator, char dateSeparator, int dateOrder);

struct CellDate {
    int16_t day = 0;
    int16_t month = 0;
    int32_t year = 0;
};

// True when the text is a date in the locale's form (a plain run of digits
// counts as a date whose year is that number).
bool ParseCellDate(const CString& text, CellDate& date);
// True when the text is exactly four dot-separated decimal numbers; value =
// (((n1*256 + n2)*256 + n3)*256 + n4) modulo 2^32.
bool ParseCellVersion(const CString& text, uint32_t& value);
// The cell's leading number, with the rest of the text added as a tiny tail
// so that "10a" < "10b" and "12 kg" < "12 lb".
float ParseCellNumber(const CString& text, int ignoreCase);

// Negative when a sorts before b, 0 equal, positive after. Not a strict weak
// order across kinds of cells (a date, a number and a word may form a
// cycle): sort with StableSortTolerant (core/TolerantSort.h), never with
// std::sort.
int16_t CompareSortText(const CString& a, const CString& b, bool ignoreCase);
