#pragma once
// The test side of the framework's modal seam: while a CScriptedModal
// lives, message boxes, common dialogs, the folder picker and modal loops
// never wait for a person. Each takes the next scripted answer of its kind;
// what was asked is recorded. Anything modal without a scripted answer is
// answered "cancel" (or "no", "OK" for a plain box) and noted in
// Unanswered(), so a test fails instead of hanging.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/ModalSeam.h"

class CWnd;

namespace zvtest {

class ScriptedModal : public CModalSeam {
public:
    struct MessageBoxCall {
        std::string text;
        std::string caption;
        UINT type;
    };
    // Acts on a running modal window (a dialog or a sheet), usually ending
    // it with PressButton.
    using ModalStep = std::function<void(CWnd& wndModal)>;

    ScriptedModal();
    ~ScriptedModal() override;
    ScriptedModal(const ScriptedModal&) = delete;
    ScriptedModal& operator=(const ScriptedModal&) = delete;

    // ---- Answers, used in order per kind ----------------------------------
    void AnswerMessageBox(int answer);
    void AnswerFileName(const char* path);  // null: the user cancels
    void AnswerFont(const LOGFONTA& font);
    void AnswerColor(COLORREF color);
    void AnswerFolder(const char* path);  // null: the user cancels
    // true: the user prints on the default printer as it is set up;
    // false: the user cancels the print dialog.
    void AnswerPrintDialog(bool print);
    void OnModal(ModalStep step);

    // A click on a button of the window (BN_CLICKED from the control), as
    // a person's click would send it.
    static void PressButton(CWnd& wnd, int nID);

    // ---- What was asked ------------------------------------------------------
    const std::vector<MessageBoxCall>& MessageBoxes() const { return m_messageBoxes; }
    std::vector<std::string> MessageTexts() const;
    const std::vector<std::string>& FileDialogTitles() const { return m_fileTitles; }
    // Per file dialog asked: true for an Open dialog, false for Save As.
    const std::vector<bool>& FileDialogsOpen() const { return m_fileOpen; }
    const std::vector<std::string>& FolderTitles() const { return m_folderTitles; }
    int PrintDialogsAsked() const { return m_printDialogs; }
    // Everything modal that had no scripted answer.
    const std::vector<std::string>& Unanswered() const { return m_unanswered; }
    // Scripted answers not used yet.
    size_t PendingAnswers() const;

    // ---- The seam ----------------------------------------------------------------
    int MessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) override;
    BOOL GetFileName(OPENFILENAMEA& ofn, BOOL bOpen) override;
    BOOL ChooseFont(CHOOSEFONTA& cf) override;
    BOOL ChooseColor(CHOOSECOLORA& cc) override;
    BOOL PrintDlg(PRINTDLGA& pd) override;
    BOOL BrowseForFolder(HWND hOwner, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CString& rPath) override;
    BOOL ModalIdle(CWnd& wndModal) override;

private:
    struct Optional {
        bool given;
        std::string text;
    };
    CModalSeam* m_previous;
    std::deque<int> m_boxAnswers;
    std::deque<Optional> m_fileAnswers;
    std::deque<LOGFONTA> m_fontAnswers;
    std::deque<COLORREF> m_colorAnswers;
    std::deque<Optional> m_folderAnswers;
    std::deque<bool> m_printAnswers;
    int m_printDialogs = 0;
    std::deque<ModalStep> m_steps;
    std::vector<MessageBoxCall> m_messageBoxes;
    std::vector<std::string> m_fileTitles;
    std::vector<bool> m_fileOpen;
    std::vector<std::string> m_folderTitles;
    std::vector<std::string> m_unanswered;
};

// Dispatches every message waiting for this thread's windows, without
// waiting for more.
void PumpPendingMessages();
// The same, each message first offered to the windows' pre-translation as
// the program's message loop does (AfxPreTranslateMessage).
void PumpPendingMessagesPreTranslated();
// Pumps (pre-translated) until done() or timeoutMs have passed; done()'s
// last answer.
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs);

}  // namespace zvtest
