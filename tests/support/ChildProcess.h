#pragma once
// Another program run by a test (windows build only): the peers of the
// two-process tests. A program still running when the object goes is ended,
// and waited for, so a failed test never leaves one behind.
#include <windows.h>

#include <string>

namespace zvtest {

// Path of a program in the folder of the running test program, where the
// build puts the peers.
std::string SiblingExe(const std::string& name);

class ChildProcess {
public:
    // Starts "program" with the given command-line arguments (quoted by the
    // caller where needed).
    ChildProcess(const std::string& program, const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_started; }
    // True when the program has ended within the given milliseconds.
    bool Finished(DWORD ms);
    DWORD ExitCode();

private:
    PROCESS_INFORMATION m_pi{};
    bool m_started = false;
};

}  // namespace zvtest
