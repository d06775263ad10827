#include <chrono>
#include <mutex>

#include "core/store/DatabaseMutex.h"

// The host build has no second process sharing the file; a process-wide
// recursive mutex keeps the same locking rules for its threads.
namespace {
std::recursive_timed_mutex& HostDatabaseMutex()
{
    static std::recursive_timed_mutex mutex;
    return mutex;
}
}  // namespace

CDatabaseMutexLock::CDatabaseMutexLock(uint32_t waitMs)
{
    if (HostDatabaseMutex().try_lock_for(std::chrono::milliseconds(waitMs))) {
        m_handle = &HostDatabaseMutex();
        m_error = 0;
    } else {
        m_error = kDatabaseMutexTimeout;
    }
}

CDatabaseMutexLock::~CDatabaseMutexLock()
{
    if (m_handle) HostDatabaseMutex().unlock();
}
