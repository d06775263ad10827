#pragma once
#include <string>

namespace zvtest {

// Sets the C runtime's time zone (a POSIX TZ text such as "UTC0" or
// "EST5EDT,M3.2.0,M11.1.0") for as long as the object lives, then restores
// the previous one. Local-time conversions in tests then do not depend on the
// machine's zone.
class PinnedTimeZone {
public:
    explicit PinnedTimeZone(const std::string& tz);
    ~PinnedTimeZone();
    PinnedTimeZone(const PinnedTimeZone&) = delete;
    PinnedTimeZone& operator=(const PinnedTimeZone&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

}  // namespace zvtest
