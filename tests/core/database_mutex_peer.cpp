// The other process of the database mutex tests:
//   database_mutex_peer hold <marker file> <milliseconds>
//     takes the mutex, writes the marker file, holds the mutex that long and
//     lets it go; exit code 0, 3 when the mutex could not be had.
//   database_mutex_peer abandon <marker file>
//     takes the mutex, writes the marker file and ends without letting go.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/store/DatabaseMutex.h"

namespace {
void Mark(const char* path) { std::ofstream(path) << "held"; }
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "hold") == 0) {
        CDatabaseMutexLock lock;
        if (!lock.IsLocked()) return 3;
        Mark(argv[2]);
        Sleep(DWORD(std::atoi(argv[3])));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "abandon") == 0) {
        CDatabaseMutexLock* lock = new CDatabaseMutexLock;
        if (!lock->IsLocked()) return 3;
        Mark(argv[2]);
        ExitProcess(0);  // the mutex is never released
    }
    return 1;
}
