#pragma once
// The Windows-style scalar types and a few helper macros the code is written
// against. In the windows configuration they come from the platform headers
// (so they are the very same types the Win32 calls take); in the host
// configuration compatible definitions of the same widths are given here.

#include <cassert>
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)

#include <windows.h>

#else

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::int16_t SHORT;
typedef std::uint16_t USHORT;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef int INT;
typedef unsigned int UINT;
typedef int BOOL;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef char TCHAR;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef _T
#define _T(x) x
#endif

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b)                                                                                                 \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))

#endif

// Opaque position in a framework collection (CList, CMap).
struct ZvPosition;
typedef ZvPosition* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

#ifndef ASSERT
#define ASSERT(f) assert(f)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif

// printf-style argument checking for our own formatting functions; MinGW
// names the archetype of the C runtime it formats with.
#if defined(__MINGW32__)
#define ZV_PRINTF_LIKE(fmt, first) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, first)))
#elif defined(__GNUC__)
#define ZV_PRINTF_LIKE(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define ZV_PRINTF_LIKE(fmt, first)
#endif
