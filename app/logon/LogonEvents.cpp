#include "app/logon/LogonEvents.h"

#include <memory>

#include "app/history/LogEvent.h"
#include "app/history/LogEvents.h"
#include "core/users/UserItem.h"

void RecordLogonEvent(CUserItem* user, bool succeeded)
{
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName("Log on")
        .SetAction(succeeded ? "Log on succeeded" : "Log on Failed")
        .SetUserName(user ? user->GetDisplayName() : CString());
    CLogEvents::GetInstance()->Add(std::make_shared<CLogEvent>(param));
}
