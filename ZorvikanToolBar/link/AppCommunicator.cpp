#include "ZorvikanToolBar/link/AppCommunicator.h"

#include <windows.h>

#include <atomic>

#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/link/PasswordDlg.h"
#include "core/os/ProcessWide.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "framework/ModalSeam.h"

namespace {

struct UnlockState {
    std::atomic<bool> unlocked{false};
    // Communicators alive in the process; the last one to stop takes the
    // unlock with it.
    std::atomic<int> communicators{0};
};

std::shared_ptr<UnlockState> State()
{
    static CProcessWide<UnlockState> slot([] { return std::make_shared<UnlockState>(); });
    return slot.Get();
}

}  // namespace

std::shared_ptr<CAppCommunicator::Link> MakeLink(const WebLoginLinkNames& names);

bool IsPluginUnlocked() { return State()->unlocked; }
void SetPluginUnlocked(bool unlocked) { State()->unlocked = unlocked; }

void LockPluginProcess()
{
    SetPluginUnlocked(false);
    GetMasterPwdMgr()->ClearPassword();
}

CAppCommunicator::CAppCommunicator() : CAppCommunicator(WebLoginLinkNames()) {}

CAppCommunicator::CAppCommunicator(const WebLoginLinkNames& names) : m_link(MakeLink(names))
{
    ++State()->communicators;
    StartLink();
}

CAppCommunicator::~CAppCommunicator() { Stop(); }

CDesktopData& CAppCommunicator::Data()
{
    if (!m_data) m_data.reset(new CDesktopData());
    return *m_data;
}

void CAppCommunicator::Stop()
{
    if (m_stopped) return;
    m_stopped = true;
    StopLink();
    CTimer::Instance()->Detach(this);
    m_password.Empty();
    if (--State()->communicators == 0) LockPluginProcess();
}

void CAppCommunicator::Resume()
{
    if (!m_stopped) return;
    m_stopped = false;
    ++State()->communicators;
    StartLink();
}

bool CAppCommunicator::UnlockWithPassword(bool quiet)
{
    CDesktopData& data = Data();
    bool result = true;
    int timeoutChecked = 0;
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (data.CurrentUserHasPassword()) {
        CPasswordDlg dialog;
        dialog.SetUserName(data.GetCurrentUserName());
        dialog.SetDesktopData(&data);
        dialog.SetPasswordText(m_password);
        CAppPrefs::TimerPair stored = prefs->GetClearPasswordTimer(data.CurrentUser());
        dialog.SetTimeout(stored.enabled, stored.minutes);
        if (dialog.DoModal() == IDOK) {
            m_password = dialog.GetPassword();
            timeoutChecked = dialog.IsTimeoutEnabled() ? 1 : 0;
            if (timeoutChecked) m_timeoutMinutes = dialog.GetMinutes();
        } else {
            result = false;
        }
        if (!data.VerifyPassword(m_password)) {
            m_password.Empty();
            return false;
        }
        if (!result) return false;
    } else if (!quiet) {
        AfxGetModalSeam().MessageBox(nullptr, "You need to set password first", "Zorvikan", MB_OK);
    }
    if (m_timeoutMinutes > 0) CTimer::Instance()->Start(m_timeoutMinutes, this);
    prefs->SetClearPasswordTimer(data.CurrentUser(), CAppPrefs::TimerPair{timeoutChecked, m_timeoutMinutes});
    data.SetPassword(m_password);
    data.ReloadDatabase();
    SetPluginUnlocked(true);
    return result;
}

bool CAppCommunicator::EnsureUnlocked()
{
    ApplyDesktopChanges();
    if (!IsPluginUnlocked()) SetPluginUnlocked(UnlockWithPassword(true));
    return IsPluginUnlocked();
}

bool CAppCommunicator::FindWebLogins(CObList& list, const CString& text)
{
    ApplyDesktopChanges();
    if (!IsPluginUnlocked()) {
        SetPluginUnlocked(UnlockWithPassword(true));
        if (!IsPluginUnlocked()) return false;
    }
    CDesktopData& data = Data();
    data.ReloadDatabase();
    data.CollectWebLogins(list, text);
    return true;
}

void CAppCommunicator::OnTimer()
{
    SetPluginUnlocked(false);
    m_password.Empty();
    Data().ReloadForCurrentUser();
}
