#include "sync/session/SyncModeSetting.h"

#include "core/prefs/AppPrefs.h"

CSyncModeSetting::CSyncModeSetting(std::function<CAppPrefs*()> prefs, const CString& section)
    : m_prefs(std::move(prefs)), m_section(section)
{}

void CSyncModeSetting::Load()
{
    // A store that fails leaves both values as they were.
    try {
        CAppPrefs* prefs = m_prefs ? m_prefs() : nullptr;
        if (!prefs) return;
        const int stored = prefs->GetSyncDirection(m_section);
        m_current = stored;
        m_saved = stored;
    } catch (...) {}
}

int CSyncModeSetting::GetMode()
{
    if (m_current == -1) Load();
    return m_current;
}

int CSyncModeSetting::GetSavedMode()
{
    if (m_saved == -1) Load();
    return m_saved;
}

void CSyncModeSetting::SaveMode(int mode)
{
    m_saved = mode;
    try {
        if (CAppPrefs* prefs = m_prefs ? m_prefs() : nullptr) prefs->SetSyncDirection(m_section, mode);
    } catch (...) {}
}
