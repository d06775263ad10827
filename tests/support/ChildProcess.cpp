#include "tests/support/ChildProcess.h"

namespace zvtest {

std::string SiblingExe(const std::string& name)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, n);
    return self.substr(0, self.find_last_of("\\/") + 1) + name;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments)
{
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    m_started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != 0;
}

ChildProcess::~ChildProcess()
{
    if (!m_started) return;
    // Ending is asynchronous: wait, so the program is gone when this returns.
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT && TerminateProcess(m_pi.hProcess, 99))
        WaitForSingleObject(m_pi.hProcess, 5000);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

bool ChildProcess::Finished(DWORD ms) { return WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }

DWORD ChildProcess::ExitCode()
{
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

}  // namespace zvtest
