#pragma once
// CSyncModeSetting: the handheld sync mode the next session uses, and the
// one stored as "Sync Direction". A mode set for one session (SetMode) is
// undone by RestoreMode; only SaveMode writes the preferences. Both values
// are loaded together on first use. The server thread reads them while the
// GUI thread sets them: each is one atomic integer.
#include <atomic>
#include <functional>

#include "framework/CString.h"

class CAppPrefs;

class CSyncModeSetting {
public:
    // prefs: the application's preferences store at the moment of use;
    // section: the application-wide section.
    CSyncModeSetting(std::function<CAppPrefs*()> prefs, const CString& section);

    int GetMode();
    int GetSavedMode();
    void SetMode(int mode) { m_current = mode; }
    void SaveMode(int mode);
    void RestoreMode() { m_current = m_saved.load(); }

private:
    void Load();

    std::function<CAppPrefs*()> m_prefs;
    CString m_section;
    std::atomic<int> m_current{-1};
    std::atomic<int> m_saved{-1};
};
