#include <windows.h>

#include "app/services/ComputerName.h"

CString GetThisComputerName()
{
    char buffer[260] = {};
    DWORD size = sizeof buffer;
    if (!::GetComputerNameA(buffer, &size)) return CString();
    return CString(buffer);
}
