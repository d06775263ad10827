#include "app/frame/OneInstance.h"

#include <cstring>

#include "app/AppIds.h"

COneInstance::COneInstance(LPCSTR className, LPCSTR mutexName) : m_className(className), m_mutexName(mutexName) {}

COneInstance::~COneInstance() { ReleaseInstanceMutex(); }

void COneInstance::ReleaseInstanceMutex()
{
    if (!m_hMutex) return;
    ::ReleaseMutex(m_hMutex);
    ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

namespace {

struct FindContext {
    const char* className;
    HWND found;
};

BOOL CALLBACK FindByClass(HWND hWnd, LPARAM lParam)
{
    auto* context = reinterpret_cast<FindContext*>(lParam);
    char name[512] = {};
    if (::GetClassNameA(hWnd, name, (int)sizeof(name)) > 0 && std::strcmp(name, context->className) == 0) {
        context->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND COneInstance::FindRunningInstance()
{
    FindContext context{(LPCSTR)m_className, nullptr};
    ::EnumWindows(&FindByClass, reinterpret_cast<LPARAM>(&context));
    m_hWndFound = context.found;
    return m_hWndFound;
}

void COneInstance::HandOver(HWND hWnd, const CString& commandLine)
{
    // Also brings back a window hidden in the notification area.
    ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(hWnd);
    ::SetFocus(hWnd);
    if (commandLine.IsEmpty()) return;
    COPYDATASTRUCT data{};
    data.dwData = ZV_COPYDATA_COMMAND_LINE;
    data.cbData = (DWORD)commandLine.GetLength() + 1;
    data.lpData = const_cast<char*>((LPCSTR)commandLine);
    // Returns once the running copy has handled it (its import question
    // answered).
    ::SendMessageA(hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

HWND COneInstance::ActivateRunningInstance(const CString& commandLine)
{
    if (!m_hMutex) {
        m_hMutex = ::CreateMutexA(nullptr, TRUE, m_mutexName);
        if (m_hMutex && ::GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;  // the one copy
    }
    for (;;) {
        if (HWND hWnd = FindRunningInstance()) {
            HandOver(hWnd, commandLine);
            if (m_hMutex) {
                ::CloseHandle(m_hMutex);
                m_hMutex = nullptr;
            }
            return hWnd;
        }
        if (!m_hMutex) return nullptr;  // no mutex to be had: the window search alone decides
        DWORD wait = ::WaitForSingleObject(m_hMutex, m_pollMilliseconds);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return nullptr;  // the other copy ended
        if (wait == WAIT_FAILED) {
            ::CloseHandle(m_hMutex);
            m_hMutex = nullptr;
            return nullptr;
        }
    }
}
