#pragma once
// The module whose resources (string table, dialogs, icons) the program
// loads: the language resource library once it is loaded, else the program.
#include <windows.h>

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hModule);
