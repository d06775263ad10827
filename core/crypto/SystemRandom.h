#pragma once
// Bytes from the operating system's cryptographic random generator, for
// secrets that must not be predictable (generated passwords and attachment
// keys). Item ids and unique keys keep the seeded MT19937 of Random.h.
#include <cstddef>

// Fills size bytes; false when the system generator is unavailable (the
// buffer's contents are then unspecified and must not be used).
bool SystemRandomBytes(void* buffer, size_t size);
