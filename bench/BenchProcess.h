#pragma once
// What the benchmarks need of the system beside the portable code: running
// this program again in a fresh process, its peak resident size, its page
// faults, fresh pages and the usable size of a heap block.
#include <cstddef>
#include <string>
#include <vector>

// Runs this program again with the arguments and waits for it; its exit
// code, or -1 when it could not be started or did not end normally.
int RunSelf(const std::vector<std::string>& args);

// Peak resident size of this process in MB.
double PeakResidentMB();

// Page faults of this process so far; -1 when the system does not count them.
long PageFaults();

// Fresh pages straight from the system (none of the heap's), and their
// release.
void* MapFreshPages(size_t bytes);
void UnmapPages(void* pages, size_t bytes);

// Usable bytes of a block the C runtime's malloc returned.
size_t HeapBlockSize(void* block);
