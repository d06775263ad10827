// The current local time from the system clock.
#include <windows.h>

#include "core/values/DateValue.h"

void GetLocalDateValue(CDateValue& value)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    static_assert(sizeof(SYSTEMTIME) == sizeof(CDateValue), "same layout as the system's calendar time");
    value.wYear = now.wYear;
    value.wMonth = now.wMonth;
    value.wDayOfWeek = now.wDayOfWeek;
    value.wDay = now.wDay;
    value.wHour = now.wHour;
    value.wMinute = now.wMinute;
    value.wSecond = now.wSecond;
    value.wMilliseconds = now.wMilliseconds;
}
