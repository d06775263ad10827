#pragma once
#include <cstdint>

// The 8-byte unique key that names a type or category and identifies a record
// across databases, copies and synchronisations. Bytes, all big-endian:
// 0-1 node value, 2-3 counter, 4-7 seconds since 1904-01-01 local time (low
// 32 bits). Keys are compared and copied as raw bytes; all zeros is the null key.

constexpr int kUniqueKeySize = 8;

void NewUniqueKey(uint8_t key[kUniqueKeySize]);
void ClearUniqueKey(uint8_t key[kUniqueKeySize]);
bool IsNullUniqueKey(const uint8_t key[kUniqueKeySize]);
void CopyUniqueKey(uint8_t dest[kUniqueKeySize], const uint8_t source[kUniqueKeySize]);
bool IsSameUniqueKey(const uint8_t a[kUniqueKeySize], const uint8_t b[kUniqueKeySize]);

// 16 upper-case hexadecimal digits, bytes in stored order, then a terminating
// zero: 17 bytes in all.
void UniqueKeyToHex(const uint8_t key[kUniqueKeySize], char text[2 * kUniqueKeySize + 1]);

// Seconds from 1904-01-01 00:00:00 to a file time (100 ns units since 1601),
// truncated to 32 bits.
uint32_t FileTimeToSeconds1904(uint64_t fileTime);

// The clock keys read and the reset of the key state are seams
// (SetUniqueKeyClock, ResetUniqueKeyState: core/os/ProcessSeams.h).
