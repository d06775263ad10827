#include <unistd.h>

#include "app/services/ComputerName.h"

CString GetThisComputerName()
{
    char buffer[260] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return CString();
    return CString(buffer);
}
