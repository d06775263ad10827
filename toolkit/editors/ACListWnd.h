#pragma once
// CACListWnd: the search box's drop-down of known words that begin with the
// typed text. A window of its own on the desktop, placed right below the
// box, at most eight rows high with a scroll bar beyond that, sizeable from
// its bottom-right corner. It hides on a click outside it, a right click,
// Escape, a switch to another application, or when the box's tool bar moves.
#include <windows.h>

#include "framework/Controls.h"
#include "toolkit/editors/AutoCompleteWords.h"

class CEditWithButton;

class CACListWnd : public CWnd {
    DECLARE_DYNAMIC(CACListWnd)
public:
    CACListWnd() = default;
    ~CACListWnd() override;

    // Makes the window (hidden) for the box; see CEditWithButton.
    BOOL CreateFor(CEditWithButton* pEdit);
    // Attaches the box: the scroll bar, the row height.
    void Attach(CEditWithButton* pEdit);
    void SetPrefixChar(char prefix) { m_cPrefix = prefix; }
    void SetWords(const CStringArray& words) { m_words.SetWords(words); }
    void RemoveAllWords() { m_words.RemoveAll(); }

    // Shows the words that begin with text (every word with bShowAll);
    // hides when there are none. -1 when nothing could be shown.
    int FilterAndShow(int nStart, const CString& text, BOOL bShowAll = FALSE);
    void ShowAllWords();
    void Hide();
    // Page Up/Down, Home, End, Up, Down: the newly selected word.
    CString StepSelection(UINT nKey);
    CString GetSelectedWord() const { return m_words.GetSelectedWord(); }
    BOOL ScrollToShow(int nRow, BOOL bAnimate);

    const CAutoCompleteWords& GetWords() const { return m_words; }
    int GetRowHeight() const { return m_nRowHeight; }
    int GetRowsPerPage() const { return m_nRowsPerPage; }
    BOOL IsScrollBarVisible() const { return m_scroll.m_hWnd && ::IsWindowVisible(m_scroll.m_hWnd); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PlaceScrollBar();
    void UpdateScrollInfo();
    void ShowBelowBox();
    int RowAt(POINT pt) const;
    void Paint();
    void DrawRow(HDC hdc, int nRow, int y, int width);
    void DrawSizeGrip(HDC hdc, const RECT& client);
    void OnLButtonDown(POINT pt);
    void OnTick();
    void PumpPaint();
    void SetScrollPosition();

    CEditWithButton* m_pEdit = nullptr;
    CAutoCompleteWords m_words;
    CScrollBar m_scroll;
    int m_nRowHeight = 1;
    int m_nRowsPerPage = 1;
    UINT_PTR m_nTimer = 0;
    RECT m_rcLastSize{};
    RECT m_rcParent{};
    char m_cPrefix = 0;
    int m_nMode = 0;
};
