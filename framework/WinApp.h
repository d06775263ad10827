#pragma once
// CWinThread and CWinApp: a thread with a message loop, and the one
// application object that starts and ends the program.
//
// The loop offers each message to PreTranslateMessage (the thread's, which
// walks from the message's window up its parents to the main window) before
// it is translated and dispatched, and runs OnIdle whenever the queue is
// empty: idle time refreshes the bars' panes and deletes temporary wrappers.

#include <windows.h>

#include <vector>

#include "framework/CString.h"
#include "framework/CmdTarget.h"
#include "framework/ResourceModuleWin.h"

class CWnd;
class CDocTemplate;
class CDocument;
class CWinThread;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // ---- Overridables ---------------------------------------------------
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PumpMessage();
    virtual BOOL IsIdleMessage(MSG* pMsg);

    // ---- Operations -----------------------------------------------------
    // Starts the thread (suspended with CREATE_SUSPENDED).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() const { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() const { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) const { return ::SetThreadPriority(m_hThread, nPriority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
    }
    operator HANDLE() const { return m_hThread; }  // NOLINT
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // Deleted when the thread ends (the default for threads made by
    // AfxBeginThread); otherwise the creator waits on m_hThread and deletes.
    BOOL m_bAutoDelete = TRUE;

protected:
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    MSG m_msgCur{};

    friend DWORD WINAPI ZvThreadEntry(LPVOID);
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // ---- Overridables ---------------------------------------------------
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;

    // ---- Documents ------------------------------------------------------
    void AddDocTemplate(CDocTemplate* pTemplate);
    CDocTemplate* GetFirstDocTemplate() const { return m_templates.empty() ? nullptr : m_templates.front(); }
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);

    // ---- Command line ---------------------------------------------------
    void ParseCommandLine(class CCommandLineInfo& rCmdInfo) const;
    BOOL ProcessShellCommand(class CCommandLineInfo& rCmdInfo);

    // ---- Profile (registry under HKCU\Software\<key>\<profile name>, or
    // the INI file named m_pszProfileName when no key is set) ------------
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Settings the framework keeps itself (the recent-file list size).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) const;
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) const;
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr) const;
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) const;
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& data) const;
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData, UINT nBytes) const;
    // HKCU\Software\<key>\<profile name>\<section>, created; null without a key.
    HKEY GetSectionKey(LPCSTR lpszSection) const;
    HKEY GetAppRegistryKey() const;

    // ---- Default command handlers ----------------------------------------
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();

    // Shell integration: the "system" DDE topic and the document types of
    // the templates in HKEY_CLASSES_ROOT.
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // malloc'd strings; a program may free and replace them (as MFC allows).
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    UINT m_nMaxMRU = 0;

    // Fills the names left empty (application, executable, profile).
    void InitNames();

protected:
    std::vector<CDocTemplate*> m_templates;  // owned
    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;

    DECLARE_MESSAGE_MAP()
};

// What the command line asks for.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    virtual ~CCommandLineInfo() = default;
    // One argument; bFlag when it started with '/' or '-' (stripped).
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
HINSTANCE AfxGetInstanceHandle();
LPCSTR AfxGetAppName();
CWnd* AfxGetMainWnd();
// The thread's filter: CWinThread::PreTranslateMessage of the current
// thread, or the walk up the window's parents on a thread without one.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Offers the message to each window from pMsg->hwnd up to (not past) hWndStop.
BOOL AfxWalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
// One message of the calling thread's loop; FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// Registers the common-control classes of the given ICC_ flags once per
// process, before a wrapper creates such a control.
void AfxInitCommonControls(DWORD dwIccFlags);
// The framework's entry point, called by WinMain.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// A worker thread running pfnThreadProc(pParam), or a user-interface thread
// of a CWinThread class created by its run-time class. The returned object
// deletes itself when the thread ends unless m_bAutoDelete is cleared (start
// suspended to clear it safely).
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
