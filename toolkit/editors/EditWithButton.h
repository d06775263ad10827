#pragma once
// CEditWithButton: the single-line search box drawn from a picture. Its
// whole face is one of four bitmaps of one size (empty or holding text, in
// the plain or the alternate look); the text runs in a fixed rectangle of the
// picture, and two rectangles of it act as a clear button and a history
// button. It completes the word under the caret from a drop-down of known
// words (CACListWnd). Its notifications go to the main window's view (see
// toolkit/toolbar/MainViewLink.h); while there is no view they are dropped.
#include <windows.h>

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "toolkit/editors/ACListWnd.h"

class CEditWithButton : public CEdit {
    DECLARE_DYNAMIC(CEditWithButton)
public:
    // Auto-complete modes.
    static constexpr int kCompleteWholeText = 1;
    static constexpr int kCompleteWordAtCaret = 2;

    CEditWithButton() = default;
    ~CEditWithButton() override;

    BOOL SetBitmaps(UINT nEmpty, UINT nText, UINT nEmptyAlt, UINT nTextAlt);
    BOOL SetTextRect(int left, int top, int right, int bottom);
    void SetClearButtonRect(int left, int top, int right, int bottom);
    void SetHistoryButtonRect(int left, int top, int right, int bottom);
    void SetClearButtonMessage(UINT message) { m_nClearMessage = message; }
    void SetHistoryButtonMessage(UINT message) { m_nHistoryMessage = message; }
    void InitAutoComplete();
    void SetWordSeparators(const CString& separators, char prefix);
    void SetAutoCompleteList(const CStringArray& words);
    // Resizes the box to its face and sets the text's formatting rectangle.
    void FitToBitmap();

    CACListWnd& GetDropDown() { return m_dropDown; }
    int GetBoxType() const { return m_nBoxType; }
    int GetMode() const { return m_nMode; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;

protected:
    HBITMAP CurrentFace(SIZE& size) const;
    void OnTextChanged();
    // Replaces the word at the caret with the drop-down's next word for the
    // key, or its selected word (bFromClick).
    void TakeWord(UINT nKey, BOOL bFromClick);
    BOOL HandleKey(UINT nKey);
    void NotifyView(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL HasText() const { return GetWindowTextLength() > 0; }

    BOOL m_bAlternate = FALSE;
    CBitmap m_faces[4];
    SIZE m_faceSizes[4]{};
    RECT m_rcText{};
    RECT m_rcClear{};
    RECT m_rcHistory{};
    BOOL m_bClearWhenEmpty = FALSE;
    UINT m_nClearMessage = 4024;
    UINT m_nHistoryMessage = 0;
    int m_nMode = kCompleteWholeText;
    int m_nBoxType = -1;
    BYTE m_bBusy = 0;
    CACListWnd m_dropDown;
    CString m_lastText;
    char m_cPrefix = 0;
    CString m_separators;
};
