#pragma once
#include <cstddef>

// Overwrites n bytes with zeros in a way the compiler may not drop as a dead
// store: for key schedules and password copies that are about to be freed.
void SecureZero(void* p, size_t n);

class CString;
// Zeros a password text's characters, then empties it.
void SecureWipe(CString& text);
