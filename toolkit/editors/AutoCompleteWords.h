#pragma once
// The search box's word completion without its windows: the known words,
// the words that pass the typed text, the selected row and the first row
// shown, and the word of the text that the caret stands in.
#include "framework/CString.h"
#include "framework/CArray.h"

class CAutoCompleteWords {
public:
    // The drop-down shows at most this many rows at once.
    static constexpr int kMaxRows = 8;

    // Replaces the words, sorted case-insensitively.
    void SetWords(const CStringArray& words);
    void RemoveAll();
    const CStringArray& GetWords() const { return m_words; }
    const CStringArray& GetShown() const { return m_shown; }
    int GetShownCount() const { return (int)m_shown.GetSize(); }

    // The words that begin with text, ignoring case (each word preceded by
    // the prefix character when one is set), sorted case-insensitively. The
    // selection is cleared when the number shown changes. Returns the number
    // shown; an empty text shows none.
    int Filter(const CString& text, char prefix = 0);
    // Every word shown.
    int ShowAll();

    // Rows of the drop-down for the number shown: at most kMaxRows.
    static int VisibleRows(int shownCount);

    int GetSelection() const { return m_selection; }
    void SetSelection(int row) { m_selection = row; }
    int GetFirstRow() const { return m_firstRow; }
    void SetFirstRow(int row) { m_firstRow = row; }

    // Moves the selection for Page Up/Down, Home, End, Up or Down (virtual
    // key codes), wrapping past either end, and returns the selected word
    // (row 0's when nothing valid is selected; empty when nothing is shown).
    CString StepSelection(unsigned key, int rowsPerPage);
    // The word of the selected row (row 0's when none); empty when none shown.
    CString GetSelectedWord() const;

    // The first shown row that puts row on the page: unchanged when the row
    // is on it already. Never below 0 nor above shown - rowsPerPage.
    int FirstRowToShow(int row, int rowsPerPage) const;

    // Hidden: the selection and first row go back to none and 0.
    void OnHidden()
    {
        m_selection = -1;
        m_firstRow = 0;
    }

private:
    void SortShown();

    CStringArray m_words;
    CStringArray m_shown;
    int m_selection = -1;
    int m_firstRow = 0;
};

// The word around caret index caret of text: from just after the nearest
// separator before the caret (or 0) to the next separator at or after it (or
// the end). A prefix character, when set, also ends the backward scan.
void FindWordAtCaret(const CString& text, int caret, const CString& separators, char prefix, int& start, int& end);
