#pragma once
#include <cstdint>

#include "core/values/DateValue.h"

namespace zvtest {

// A date value with the given fields (the others 0), read as local time.
inline CDateValue MakeDate(unsigned y, unsigned mo, unsigned d, unsigned h = 0, unsigned mi = 0, unsigned s = 0)
{
    CDateValue v;
    v.wYear = (uint16_t)y;
    v.wMonth = (uint16_t)mo;
    v.wDay = (uint16_t)d;
    v.wHour = (uint16_t)h;
    v.wMinute = (uint16_t)mi;
    v.wSecond = (uint16_t)s;
    return v;
}

}  // namespace zvtest
