#pragma once
// What the benchmarks of real windows share (Windows build, on a display).

// printf, flushed at once: a bench that hangs or dies under Wine still shows
// how far it got.
__attribute__((format(printf, 1, 2))) void Print(const char* format, ...);

// Dispatches every message queued for this thread.
void Pump();
