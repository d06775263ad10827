// The current local time from the C library (host build).
#include <sys/time.h>

#include <ctime>

#include "core/values/DateValue.h"

void GetLocalDateValue(CDateValue& value)
{
    struct timeval now {};
    gettimeofday(&now, nullptr);
    std::time_t seconds = now.tv_sec;
    std::tm tm{};
    localtime_r(&seconds, &tm);
    value.wYear = static_cast<uint16_t>(tm.tm_year + 1900);
    value.wMonth = static_cast<uint16_t>(tm.tm_mon + 1);
    value.wDayOfWeek = static_cast<uint16_t>(tm.tm_wday);
    value.wDay = static_cast<uint16_t>(tm.tm_mday);
    value.wHour = static_cast<uint16_t>(tm.tm_hour);
    value.wMinute = static_cast<uint16_t>(tm.tm_min);
    value.wSecond = static_cast<uint16_t>(tm.tm_sec);
    value.wMilliseconds = static_cast<uint16_t>(now.tv_usec / 1000);
}
