#include "app/LogonEvents.h"

#include <memory>

#include "app/LogEvent.h"
#include "app/LogEvents.h"
#include "core/UserItem.h"

void RecordLogonEvent(CUserItem* user, bool succeeded)
{
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName("Log on")
        .SetAction(succeeded ? "Log on succeeded" : "Log on Failed")
        .SetUserName(user ? user->GetDisplayName() : CString());
    CLogEvents::GetInstance()->Add(std::make_shared<CLogEvent>(param));
}
