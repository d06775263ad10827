#pragma once
// This computer's name as the event log records it.
#include "framework/CString.h"

// The name, empty when it cannot be had. Windows and host builds each have
// their own file for it.
CString GetThisComputerName();
