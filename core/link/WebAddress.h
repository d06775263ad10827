#pragma once
// The addresses a web login may open and the host they name. A login's
// address is whatever the user or an import stored, so only web pages are
// opened: never a script, a local file or another program's scheme.
#include "framework/CString.h"

// The address to navigate to for a stored one: an http or https address as
// it stands; an address without a scheme ("www.bank.example/login",
// "bank.example:8443") as http, as the browser itself would take it; empty
// for every other scheme (javascript:, file:, about:, a drive path ...).
// Surrounding blanks are dropped.
CString WebAddressToOpen(const char* address);

// The host of an address in lower case ("Bank.Example" of
// "https://user@Bank.Example:8443/login"); empty when there is none.
CString AddressHost(const char* address);

// Whether both addresses name the same, non-empty host.
bool IsSameHost(const char* left, const char* right);
