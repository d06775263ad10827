#include "tests/support/TimeZone.h"

#include <cstdlib>
#include <ctime>

namespace {

void SetTz(const char* value)
{
#ifdef _WIN32
    _putenv_s("TZ", value ? value : "");
    _tzset();
#else
    if (value)
        setenv("TZ", value, 1);
    else
        unsetenv("TZ");
    tzset();
#endif
}

}  // namespace

namespace zvtest {

PinnedTimeZone::PinnedTimeZone(const std::string& tz)
{
    if (const char* old = std::getenv("TZ")) {
        m_had = true;
        m_old = old;
    }
    SetTz(tz.c_str());
}

PinnedTimeZone::~PinnedTimeZone() { SetTz(m_had ? m_old.c_str() : nullptr); }

}  // namespace zvtest
