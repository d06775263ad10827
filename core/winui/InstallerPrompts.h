#pragma once
// Running the installers of software the program relies on (Bonjour, the
// web-update software) and waiting for them. The questions themselves are
// CAppPrefMgr::OfferBonjourInstall and CAppPrefMgr::OfferWebUpdateInstall;
// everything modal goes through the framework's modal seam.
#include <windows.h>

#include "framework/CString.h"

// An Open dialog for an existing installer file with that filter ('|'
// between its parts) and title; the chosen path, or empty when cancelled.
CString ChooseInstallerFile(HWND parent, const CString& filter, const CString& title);

// Runs an installer by its extension, in any case: ".msi" through the
// shell, ".exe" as a program; waits for it to end. False when the file is
// of neither kind or did not start.
bool RunInstallerAndWait(const CString& path);

// The shell's "open" verb on the file; waits for the started process.
// Paths of MAX_PATH characters or more are refused.
bool ShellOpenAndWait(const CString& path);

// Starts the file as a program without a command line; waits for it.
bool RunProcessAndWait(const CString& path);

// Waits for a process to end while the calling thread keeps handling its
// messages, so the program's windows stay painted and responsive. A quit
// request ends the wait early and is passed on.
void WaitForProcessPumping(HANDLE process);
