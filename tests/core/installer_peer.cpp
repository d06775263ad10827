// A stand-in installer: started without a command line, it waits a little,
// then writes "<its own path>.ran" and ends, so a test can tell that the
// caller waited for it to end.
#include <windows.h>

#include <string>

int main()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Sleep(300);
    std::string marker = std::string(path) + ".ran";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, "ran", 3, &written, nullptr);
    CloseHandle(file);
    return 0;
}
