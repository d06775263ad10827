#include "framework/WinApp.h"

#include <commctrl.h>
#include <process.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameworkRes.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

namespace {
CWinApp* g_pApp = nullptr;

char* Dup(LPCSTR s) { return s ? _strdup(s) : nullptr; }
}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }
CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pThread; }

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

LPCSTR AfxGetAppName() { return g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : ""; }

CWnd* AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd) return thread->m_pMainWnd;
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

BOOL AfxWalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
        if (h == hWndStop) break;
    }
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* thread = AfxGetThread()) return thread->PreTranslateMessage(pMsg);
    return AfxWalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage()
{
    if (CWinThread* thread = AfxGetThread()) return thread->PumpMessage();
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

// ---- CWinThread -------------------------------------------------------------

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{}

CWinThread::~CWinThread()
{
    if (m_hThread) ::CloseHandle(m_hThread);
    ZvThreadState* ts = AfxGetThreadState();
    if (ts->m_pThread == this) ts->m_pThread = nullptr;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // Caret blinks and repeated mouse moves are not activity worth an idle pass.
    return pMsg->message != WM_TIMER && pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd) return FALSE;  // thread messages have no window to offer them to
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hMain = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    if (AfxWalkPreTranslateTree(hMain, pMsg)) return TRUE;
    // A modeless window outside the main window still gets the main
    // window's filtering (its accelerators).
    if (hMain) {
        HWND top = pMsg->hwnd;
        while (top && (::GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD)) top = ::GetParent(top);
        if (top != hMain) return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
        return TRUE;
    }
    AfxDeleteTempMaps();
    return FALSE;
}

DWORD WINAPI ZvThreadEntry(LPVOID param);

unsigned __stdcall ZvThreadStart(void* param) { return (unsigned)ZvThreadEntry(param); }

DWORD WINAPI ZvThreadEntry(LPVOID param)
{
    auto* thread = static_cast<CWinThread*>(param);
    AfxGetThreadState()->m_pThread = thread;
    DWORD code;
    if (thread->m_pfnThreadProc) {
        code = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } else if (thread->InitInstance()) {
        code = (DWORD)thread->Run();
    } else {
        if (thread->m_pMainWnd && thread->m_pMainWnd->m_hWnd) thread->m_pMainWnd->DestroyWindow();
        code = (DWORD)thread->ExitInstance();
    }
    AfxDeleteTempMaps();
    AfxGetThreadState()->m_pThread = nullptr;
    if (thread->m_bAutoDelete) delete thread;
    return code;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    unsigned id = 0;
    m_hThread = (HANDLE)_beginthreadex(lpSecurityAttrs, nStackSize, &ZvThreadStart, this,
                                       (dwCreateFlags | CREATE_SUSPENDED), &id);
    if (!m_hThread) return FALSE;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
    return TRUE;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    auto* thread = new CWinThread(pfnThreadProc, pParam);
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CObject* object = pThreadClass ? pThreadClass->CreateObject() : nullptr;
    auto* thread = object && object->IsKindOf(RUNTIME_CLASS(CWinThread)) ? static_cast<CWinThread*>(object) : nullptr;
    if (!thread) {
        delete object;
        return nullptr;
    }
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

// ---- CWinApp ------------------------------------------------------------------

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    m_pszAppName = Dup(lpszAppName);
    g_pApp = this;
    // The application object is the main thread's CWinThread.
    AfxGetThreadState()->m_pThread = this;
    m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* t : m_templates) delete t;
    m_templates.clear();
    if (m_atomApp) ::GlobalDeleteAtom(m_atomApp);
    if (m_atomSystemTopic) ::GlobalDeleteAtom(m_atomSystemTopic);
    free((void*)m_pszAppName);
    free((void*)m_pszRegistryKey);
    free((void*)m_pszProfileName);
    free((void*)m_pszExeName);
    m_hThread = nullptr;  // the main thread's handle is not ours to close
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::InitNames()
{
    if (!m_pszExeName) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
        char* name = strrchr(path, '\\');
        name = name ? name + 1 : path;
        if (char* dot = strrchr(name, '.')) *dot = '\0';
        m_pszExeName = Dup(name);
    }
    if (!m_pszAppName) {
        CString title;
        m_pszAppName = Dup(title.LoadString(0xE000 /* the application title */) ? (LPCSTR)title : m_pszExeName);
    }
    if (!m_pszProfileName) {
        CString ini(m_pszExeName);
        ini += ".INI";
        m_pszProfileName = Dup(ini);
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

int CWinApp::Run() { return CWinThread::Run(); }

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate) {
        pTemplate->LoadTemplate();
        m_templates.push_back(pTemplate);
    }
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    CDocTemplate* t = GetFirstDocTemplate();
    return t ? t->OpenDocumentFile(lpszFileName) : nullptr;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* t = GetFirstDocTemplate()) t->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    // The program offers no file to open through the framework.
}

void CWinApp::OnFilePrintSetup() {}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- Command line -------------------------------------------------------------

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (_stricmp(pszParam, "Embedding") == 0) {
            m_bRunEmbedded = TRUE;
            m_bShowSplash = FALSE;
        } else if (_stricmp(pszParam, "Automation") == 0) {
            m_bRunAutomated = TRUE;
            m_bShowSplash = FALSE;
        }
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const
{
    for (int i = 1; i < __argc; ++i) {
        LPCSTR param = __argv[i];
        BOOL flag = FALSE;
        if (param[0] == '-' || param[0] == '/') {
            flag = TRUE;
            ++param;
        }
        rCmdInfo.ParseParam(param, flag, i == __argc - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew: OnFileNew(); return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen: return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default: return TRUE;
    }
}

// ---- Profile ----------------------------------------------------------------------

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    InitNames();
    free((void*)m_pszRegistryKey);
    m_pszRegistryKey = Dup(lpszRegistryKey);
    free((void*)m_pszProfileName);
    m_pszProfileName = Dup(m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey((LPCSTR)key);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) { m_nMaxMRU = nMaxMRU; }

HKEY CWinApp::GetAppRegistryKey() const
{
    if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
    CString path("Software\\");
    path += m_pszRegistryKey;
    path += "\\";
    path += m_pszProfileName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                          &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) const
{
    HKEY app = GetAppRegistryKey();
    if (!app) return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG rc = ::RegCreateKeyExA(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                &key, &disposition);
    ::RegCloseKey(app);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) const
{
    if (!m_pszRegistryKey) return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return (UINT)nDefault;
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG rc = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, (LPBYTE)&value, &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? (UINT)value : (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) const
{
    if (!m_pszRegistryKey) {
        char text[16];
        wsprintfA(text, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_pszProfileName);
    }
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    DWORD value = (DWORD)nValue;
    LONG rc = ::RegSetValueExA(key, lpszEntry, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) const
{
    if (!lpszDefault) lpszDefault = "";
    if (!m_pszRegistryKey) {
        CString result;
        for (DWORD size = 256;; size *= 2) {
            char* buf = result.GetBuffer((int)size);
            DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, buf, size, m_pszProfileName);
            result.ReleaseBuffer((int)n);
            if (n < size - 1) return result;
        }
    }
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return CString(lpszDefault);
    DWORD type = 0, size = 0;
    CString result(lpszDefault);
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        CString value;
        char* buf = value.GetBuffer((int)size + 1);
        if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, (LPBYTE)buf, &size) == ERROR_SUCCESS) {
            buf[size] = '\0';
            value.ReleaseBuffer();
            result = value;
        } else {
            value.ReleaseBuffer(0);
        }
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) const
{
    if (!m_pszRegistryKey) return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (!lpszEntry) {
        // No entry: the whole section goes.
        HKEY app = GetAppRegistryKey();
        if (!app) return FALSE;
        LONG rc = ::RegDeleteKeyA(app, lpszSection);
        ::RegCloseKey(app);
        return rc == ERROR_SUCCESS;
    }
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    LONG rc = lpszValue
                  ? ::RegSetValueExA(key, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1)
                  : ::RegDeleteValueA(key, lpszEntry);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& data) const
{
    data.clear();
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    DWORD type = 0, size = 0;
    BOOL ok = FALSE;
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_BINARY) {
        data.resize(size);
        ok = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
        data.resize(ok ? size : 0);
    }
    ::RegCloseKey(key);
    return ok;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData, UINT nBytes) const
{
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    LONG rc = ::RegSetValueExA(key, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void AfxInitCommonControls(DWORD dwIccFlags)
{
    static std::atomic<DWORD> done{0};
    if ((done.load() & dwIccFlags) == dwIccFlags) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), dwIccFlags};
    if (::InitCommonControlsEx(&icc)) done.fetch_or(dwIccFlags);
}

// ---- Entry point ----------------------------------------------------------------------

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    app->InitNames();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);

    int code;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    AfxDeleteTempMaps();
    return code;
}
