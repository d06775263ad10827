#pragma once
// Every replaceable seam of the process, in one place. Each is process-wide
// state that a test (and, for the platform resolver, the windows build's
// start-up) puts in place to stand in for something the program cannot
// control: the clock, random numbers, the platform's libraries, the moment a
// file is replaced. Nothing else in the process is replaced this way; code
// reads these only through the functions here, and each implementation lives
// next to what it serves (named below).
//
// Conventions: a null (or empty) value restores the product's own behaviour;
// a setter that returns something returns the previous value, so a test can
// put it back (tests/support/ScopedReplace.h does that for a scope).
//
// Related, but not seams of this file:
// - process-wide objects (the preference manager, the master password
//   manager, the event log) live in CProcessWide slots (core/os/
//   ProcessWide.h); tests swap the preference manager and the event log
//   through their ReplaceInstance;
// - everything modal in the windows build goes through the framework's
//   modal seam (framework/ModalSeam.h), which tests script.
#include <cstddef>
#include <cstdint>
#include <functional>

class AdapterStatusSource;
class CDateValue;
class CString;
enum class PlatformLibrary;

// ---- Time ----

// The clock behind CDateValue::InitNow (core/values/DateValue.cpp): null for
// the system's clock. Tests put a clock of their own in place to control
// ages (tests/support/FixedClock.h); the previous one is returned.
typedef void (*LocalClockFn)(CDateValue& value);
LocalClockFn SetLocalClock(LocalClockFn clock);

// The clock that unique keys read (core/items/UniqueKey.cpp). The clock is
// copied; nullptr (or a null member) restores the system clock.
struct UniqueKeyClock {
    uint32_t (*tickCount)();      // milliseconds, seeds the generator at the first key
    uint64_t (*localFileTime)();  // local calendar time expressed as a file time
};
void SetUniqueKeyClock(const UniqueKeyClock* clock);

// Forgets the unique-key counter and node value, as at the start of the
// process, and makes later keys ask source for the node value (nullptr: this
// build's NetBIOS).
void ResetUniqueKeyState(AdapterStatusSource* source = nullptr);

// ---- Random numbers ----

// The source of the password generator's 32-bit random numbers
// (core/crypto/PasswordGenerator.cpp); it returns false when it cannot give
// one. By default the system's cryptographic generator, so passwords and
// attachment keys cannot be predicted from a seed. Tests set a fixed
// sequence; an empty function restores the default.
using PasswordRandomSource = std::function<bool(uint32_t& value)>;
void SetPasswordRandomSource(PasswordRandomSource source);

// The source of packed items' random tails (core/items/ItemPacking.cpp): a
// value 0..32767 per call, by default the C runtime's generator. nullptr
// restores the runtime's.
using PackRandomSource = int (*)();
void SetPackRandomSource(PackRandomSource source);

// ---- Keys ----

// Watches the release of Blowfish keys (core/crypto/BlowfishKey.cpp): the
// observer sees each schedule after it was wiped and before its memory is
// freed. nullptr: no observer.
using KeyWipeObserver = void (*)(const void* schedule, size_t size);
void SetKeyWipeObserver(KeyWipeObserver observer);

// ---- Files ----

// Called by CReplacingFile::Commit and ReplaceWith (core/store/ReplacingFile.cpp)
// after the temporary file is complete and closed and before it replaces the
// target (a database file, or an attachment copied by a merge). A
// non-zero result stands for a failure (or a crash) at that moment: Commit
// returns it without replacing. nullptr: no hook.
typedef int (*BeforeReplaceHook)(const CString& tempPath, const CString& targetPath);
BeforeReplaceHook SetBeforeReplaceHook(BeforeReplaceHook hook);

// The longest profile list (a settings file's section names, or a whole
// section) read before the read fails with "file too large"
// (core/prefs/ProfileFile.cpp), 256 MB unless changed; 0 restores that.
uint32_t SetProfileListCap(uint32_t bytes);

// How long CDatabaseObj's load and save, and the verifier read, wait for the database mutex
// (core/store/DatabaseObj.cpp), 10 s unless changed.
uint32_t SetDatabaseMutexWaitMs(uint32_t waitMs);

// ---- The platform ----

// Where exports of the platform's libraries are looked up
// (core/users/Platform.cpp). The windows build installs its own while the
// libraries are loaded; without one (the browser plug-in's build, the host
// tests) every export counts as missing. Tests install fakes.
typedef void* (*PlatformExportResolver)(PlatformLibrary library, const char* name);
PlatformExportResolver SetPlatformExportResolver(PlatformExportResolver resolver);

// Where database change notices go once the user is found active
// (core/os/ChangeNotify.cpp). By default PostToListenerWindow: the windows
// build posts to the listener window, the host build drops them. nullptr
// restores that default.
typedef void (*DatabaseNotifyPoster)(uint32_t wParam, int32_t lParam);
DatabaseNotifyPoster SetDatabaseNotifyPoster(DatabaseNotifyPoster poster);

// ---- Auto-fill ----

// How long the program's auto-fill waits for the page of the browser window
// it opened to complete (mainwindow/view/ViewAutoFill.cpp), 60 s unless
// changed; 0 restores that.
uint32_t SetAutoFillPageWaitMs(uint32_t waitMs);

// ---- The shell ----

// What OpenWithShell (core/os/ShellFileOps.cpp) hands the file or address to:
// by default the shell's "open" verb, which starts a viewer or the browser.
// Tests record the target instead. nullptr restores the default.
typedef intptr_t (*ShellOpener)(const CString& target);
ShellOpener SetShellOpener(ShellOpener opener);

// ---- The browser plug-in ----

// The thread-less system timer that ends the plug-in's unlock
// (ZorvikanToolBar/link/UnlockTimer.cpp): called with the running timer's id
// (0: none), which it stops, and a period in milliseconds (0: none), for
// which it starts a new one; it returns the new id (0: none). By default the
// system's timer, whose expiry comes through the thread's message loop;
// tests put their own and fire the expiry themselves (CTimer::Fire).
// nullptr restores the default.
typedef uintptr_t (*UnlockTimerSetter)(uintptr_t runningId, uint32_t periodMs);
UnlockTimerSetter SetUnlockTimerSetter(UnlockTimerSetter setter);
