// The start-up's log-on: the log-on dialog without a parent, with the choice
// of user when there is more than one.
#include "app/logon/StartupLogon.h"

#include <utility>

#include "app/logon/GetPasswordDlg.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"

bool StartupUserHasMasterPassword(CUserItem* user) { return user && UserHasMasterPassword(user); }

INT_PTR RunStartupLogonDialog(CUserList& users, CUserItem*& user, CSecretString& password)
{
    CGetPasswordDlg dlg(nullptr, users.GetCount() > 1);
    dlg.m_pUsers = &users;
    dlg.m_pUser = user;
    INT_PTR result = dlg.DoModal();
    if (result == IDOK) {
        user = dlg.m_pUser;
        password = std::move(dlg.m_strPassword);
    }
    return result;
}
