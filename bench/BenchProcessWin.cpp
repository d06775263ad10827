// The benchmarks' system calls in the windows build.
#include <windows.h>

#include <malloc.h>
#include <psapi.h>

#include "bench/BenchProcess.h"

int RunSelf(const std::vector<std::string>& args)
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return -1;
    // Arguments are numbers and a temporary folder: quoting each is enough.
    std::string line = std::string("\"") + self + "\"";
    for (const std::string& arg : args) line += " \"" + arg + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(self, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL got = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return got ? static_cast<int>(code) : -1;
}

double PeakResidentMB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize / 1048576.0;
}

long PageFaults()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    // Wine leaves the count at 0: no figure then.
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) || counters.PageFaultCount == 0)
        return -1;
    return static_cast<long>(counters.PageFaultCount);
}

void* MapFreshPages(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void UnmapPages(void* pages, size_t) { VirtualFree(pages, 0, MEM_RELEASE); }

size_t HeapBlockSize(void* block) { return _msize(block); }
