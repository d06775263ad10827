#pragma once
// What the benchmarks of real windows share (Windows build, on a display).

#include <windows.h>

#include <filesystem>

// printf, flushed at once: a bench that hangs or dies under Wine still shows
// how far it got.
__attribute__((format(printf, 1, 2))) void Print(const char* format, ...);

// Dispatches every message queued for this thread.
void Pump();

class CUserItem;

// Points the application at a fresh scratch data root (any earlier one of
// that path removed) and makes its first user the current one; null if
// there is none.
CUserItem* OpenScratchUser(const std::filesystem::path& root);

// Closes the main window the bench opened and leaves the application as
// before it: no main window, user or event log, the scratch data root gone.
void CloseMainWindow(HWND frame, const std::filesystem::path& root);
