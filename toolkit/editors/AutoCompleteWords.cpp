#include "toolkit/editors/AutoCompleteWords.h"

#include <algorithm>

namespace {

// Virtual key codes of the stepping keys (the same on every platform).
const unsigned kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kUp = 0x26, kDown = 0x28;

void SortNoCase(CStringArray& words)
{
    if (words.GetSize() < 2) return;
    std::stable_sort(words.GetData(), words.GetData() + words.GetSize(),
                     [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
}

}  // namespace

void CAutoCompleteWords::SetWords(const CStringArray& words)
{
    m_words.RemoveAll();
    m_shown.RemoveAll();
    for (INT_PTR i = 0; i < words.GetSize(); ++i) m_words.Add(words[i]);
    SortNoCase(m_words);
}

void CAutoCompleteWords::RemoveAll()
{
    m_words.RemoveAll();
    m_shown.RemoveAll();
    m_selection = -1;
    m_firstRow = 0;
}

void CAutoCompleteWords::SortShown() { SortNoCase(m_shown); }

int CAutoCompleteWords::Filter(const CString& text, char prefix)
{
    const int before = GetShownCount();
    m_shown.RemoveAll();
    if (!text.IsEmpty()) {
        CString upper = text;
        upper.MakeUpper();
        for (INT_PTR i = 0; i < m_words.GetSize(); ++i) {
            CString word = m_words[i];
            if (prefix) word = CString(prefix) + word;
            word.MakeUpper();
            if (word.Find((const char*)upper) == 0) m_shown.Add(m_words[i]);
        }
    }
    if (GetShownCount() != before) m_selection = -1;
    SortShown();
    return GetShownCount();
}

int CAutoCompleteWords::ShowAll()
{
    const int before = GetShownCount();
    m_shown.RemoveAll();
    for (INT_PTR i = 0; i < m_words.GetSize(); ++i) m_shown.Add(m_words[i]);
    if (GetShownCount() != before) m_selection = -1;
    SortShown();
    return GetShownCount();
}

int CAutoCompleteWords::VisibleRows(int shownCount) { return std::min(std::max(shownCount, 0), kMaxRows); }

CString CAutoCompleteWords::StepSelection(unsigned key, int rowsPerPage)
{
    const int count = GetShownCount();
    if (count == 0) return CString();
    const int page = std::max(rowsPerPage, 1);
    int sel = m_selection;
    switch (key) {
    case kPrior: sel = std::max(sel - page, 0); break;
    case kHome: sel = 0; break;
    case kNext: sel = std::min(sel + page, count - 1); break;
    case kEnd: sel = count - 1; break;
    case kUp: --sel; break;
    case kDown: ++sel; break;
    default: break;
    }
    if (sel < 0) sel = count - 1;
    if (sel >= count) sel = 0;
    m_selection = sel;
    return GetSelectedWord();
}

CString CAutoCompleteWords::GetSelectedWord() const
{
    const int count = GetShownCount();
    if (count == 0) return CString();
    const int row = m_selection >= 0 && m_selection < count ? m_selection : 0;
    return m_shown[row];
}

int CAutoCompleteWords::FirstRowToShow(int row, int rowsPerPage) const
{
    const int page = std::max(rowsPerPage, 1);
    if (row >= m_firstRow && row < m_firstRow + page) return m_firstRow;
    if (row >= m_firstRow + page) return std::max(0, std::min(row - page + 1, GetShownCount() - page));
    return std::max(row, 0);
}

void FindWordAtCaret(const CString& text, int caret, const CString& separators, char prefix, int& start, int& end)
{
    const int length = text.GetLength();
    const char* t = text;
    auto isSeparator = [&](char c) { return c != 0 && separators.Find(c) >= 0; };
    int from = caret - 1;
    if (from >= length && length > 1) from = length - 1;
    if (from >= length) from = length - 1;
    start = 0;
    for (int i = from; i >= 0; --i) {
        if (isSeparator(t[i]) || (prefix && t[i] == prefix)) {
            start = i + 1;
            break;
        }
    }
    end = length;
    for (int i = std::max(caret, 0); i < length; ++i) {
        if (isSeparator(t[i])) {
            end = i;
            break;
        }
    }
    if (end < start) end = start;
}
