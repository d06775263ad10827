#include "tests/support/ScriptedModal.h"

#include <cstring>

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace zvtest {

ScriptedModal::ScriptedModal() : m_previous(AfxSetModalSeam(this)) {}

ScriptedModal::~ScriptedModal() { AfxSetModalSeam(m_previous); }

void ScriptedModal::AnswerMessageBox(int answer) { m_boxAnswers.push_back(answer); }

void ScriptedModal::AnswerFileName(const char* path) { m_fileAnswers.push_back({path != nullptr, path ? path : ""}); }

void ScriptedModal::AnswerFont(const LOGFONTA& font) { m_fontAnswers.push_back(font); }

void ScriptedModal::AnswerColor(COLORREF color) { m_colorAnswers.push_back(color); }

void ScriptedModal::AnswerFolder(const char* path) { m_folderAnswers.push_back({path != nullptr, path ? path : ""}); }

void ScriptedModal::AnswerPrintDialog(bool print) { m_printAnswers.push_back(print); }

void ScriptedModal::OnModal(ModalStep step) { m_steps.push_back(std::move(step)); }

void ScriptedModal::PressButton(CWnd& wnd, int nID)
{
    HWND hButton = ::GetDlgItem(wnd.m_hWnd, nID);
    ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)hButton);
}

std::vector<std::string> ScriptedModal::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& call : m_messageBoxes) texts.push_back(call.text);
    return texts;
}

size_t ScriptedModal::PendingAnswers() const
{
    return m_boxAnswers.size() + m_fileAnswers.size() + m_fontAnswers.size() + m_colorAnswers.size() +
           m_folderAnswers.size() + m_printAnswers.size() + m_steps.size();
}

int ScriptedModal::MessageBox(HWND, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    m_messageBoxes.push_back({lpszText ? lpszText : "", lpszCaption ? lpszCaption : "", nType});
    if (!m_boxAnswers.empty()) {
        int answer = m_boxAnswers.front();
        m_boxAnswers.pop_front();
        return answer;
    }
    m_unanswered.push_back(std::string("message box: ") + (lpszText ? lpszText : ""));
    switch (nType & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

BOOL ScriptedModal::GetFileName(OPENFILENAMEA& ofn, BOOL bOpen)
{
    m_fileTitles.push_back(ofn.lpstrTitle ? ofn.lpstrTitle : "");
    m_fileOpen.push_back(bOpen != FALSE);
    if (m_fileAnswers.empty()) {
        m_unanswered.push_back("file dialog");
        return FALSE;
    }
    Optional answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!answer.given) return FALSE;
    if (!ofn.lpstrFile || answer.text.size() + 1 > ofn.nMaxFile) return FALSE;
    memcpy(ofn.lpstrFile, answer.text.c_str(), answer.text.size() + 1);
    // Where the name starts and its extension, as the real dialog reports.
    size_t slash = answer.text.find_last_of("\\/");
    ofn.nFileOffset = (WORD)(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = answer.text.find_last_of('.');
    ofn.nFileExtension = (WORD)(dot == std::string::npos || dot < ofn.nFileOffset ? 0 : dot + 1);
    return TRUE;
}

BOOL ScriptedModal::ChooseFont(CHOOSEFONTA& cf)
{
    if (m_fontAnswers.empty()) {
        m_unanswered.push_back("font dialog");
        return FALSE;
    }
    if (cf.lpLogFont) *cf.lpLogFont = m_fontAnswers.front();
    m_fontAnswers.pop_front();
    return TRUE;
}

BOOL ScriptedModal::ChooseColor(CHOOSECOLORA& cc)
{
    if (m_colorAnswers.empty()) {
        m_unanswered.push_back("colour dialog");
        return FALSE;
    }
    cc.rgbResult = m_colorAnswers.front();
    m_colorAnswers.pop_front();
    return TRUE;
}

BOOL ScriptedModal::BrowseForFolder(HWND, LPCSTR lpszTitle, LPCSTR, CString& rPath)
{
    m_folderTitles.push_back(lpszTitle ? lpszTitle : "");
    if (m_folderAnswers.empty()) {
        m_unanswered.push_back("folder picker");
        return FALSE;
    }
    Optional answer = m_folderAnswers.front();
    m_folderAnswers.pop_front();
    if (!answer.given) return FALSE;
    rPath = answer.text.c_str();
    return TRUE;
}

BOOL ScriptedModal::PrintDlg(PRINTDLGA& pd)
{
    ++m_printDialogs;
    if (m_printAnswers.empty()) {
        m_unanswered.push_back("print dialog");
        return FALSE;
    }
    const bool print = m_printAnswers.front();
    m_printAnswers.pop_front();
    if (!print) return FALSE;
    // The default printer, as the dialog's OK with nothing changed gives it.
    PRINTDLGA real = pd;
    real.Flags |= PD_RETURNDEFAULT;
    real.Flags &= ~(DWORD)PD_RETURNIC;
    real.hDevMode = nullptr;
    real.hDevNames = nullptr;
    if (!::PrintDlgA(&real)) return FALSE;
    pd.hDC = real.hDC;
    pd.hDevMode = real.hDevMode;
    pd.hDevNames = real.hDevNames;
    return TRUE;
}

BOOL ScriptedModal::ModalIdle(CWnd& wndModal)
{
    if (!m_steps.empty()) {
        ModalStep step = std::move(m_steps.front());
        m_steps.pop_front();
        step(wndModal);
        return TRUE;
    }
    char title[256] = {};
    ::GetWindowTextA(wndModal.m_hWnd, title, sizeof(title));
    m_unanswered.push_back(std::string("modal window: ") + title);
    // Cancel as a person would; a window that refuses is ended anyway.
    ::SendMessageA(wndModal.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   (LPARAM)::GetDlgItem(wndModal.m_hWnd, IDCANCEL));
    if (wndModal.ContinueModal()) wndModal.EndModalLoop(IDCANCEL);
    return TRUE;
}

void PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // a test's main window closing
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpPendingMessagesPreTranslated()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (AfxPreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return done();
        PumpPendingMessagesPreTranslated();
        ::Sleep(10);
    }
    return true;
}

}  // namespace zvtest
