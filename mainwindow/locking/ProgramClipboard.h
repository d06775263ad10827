#pragma once
// Which clipboard text is the program's own. The program marks each text it
// puts on the clipboard: the clean flag goes false and the clipboard's
// sequence number just after the copy is kept. A text another program put
// there since has another sequence number, so it is never cleared as ours;
// exchange and export text carry the program's header and count as the
// program's wherever they came from.
#include <cstddef>
#include <cstdint>

class CProgramClipboard {
public:
    // The program put a text on the clipboard; sequence is the clipboard's
    // sequence number right after.
    void NoteCopied(uint32_t sequence);
    // The program's text was cleared.
    void NoteCleared() { m_clean = true; }
    bool IsClean() const { return m_clean; }

    // text: the clipboard's text (null when it holds none), size its bytes;
    // sequence: the clipboard's sequence number now.
    // Clear Clipboard removes it: the program's last copy, or text under the
    // exchange ("Zorvikan Zkv File -v3.0") or export header.
    bool ShouldClear(const char* text, size_t size, uint32_t sequence) const;
    // Clear Clipboard and Paste are enabled for it: exchange text, or the
    // program's last copy.
    bool IsProgramText(const char* text, size_t size, uint32_t sequence) const;

private:
    bool IsOurCopy(uint32_t sequence) const { return !m_clean && sequence == m_sequence; }

    bool m_clean = true;
    uint32_t m_sequence = 0;
};
