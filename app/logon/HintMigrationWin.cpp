#include "app/logon/HintMigration.h"

#include "app/logon/PasswordHint.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"

void MigrateHints(CUserList& users)
{
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        CUserItem* user = static_cast<CUserItem*>(users.GetNext(pos));
        if (!user) continue;
        const CString hint = prefs->GetHint(user);
        CPasswordHint passwordHint(user);
        if (!hint.IsEmpty()) {
            if (passwordHint.SetHint(0, CString(), hint)) prefs->SetHint(user, CString());
        } else {
            passwordHint.ClearHint();
        }
    }
}
