#include "app/LogonEvents.h"

#include <utility>

#include "core/UserItem.h"

namespace {
LogonEventReceiver& Receiver()
{
    static LogonEventReceiver receiver;
    return receiver;
}
}  // namespace

LogonEventText MakeLogonEvent(const CString& displayName, bool succeeded)
{
    LogonEventText event;
    event.name = "Log on";
    event.action = succeeded ? "Log on succeeded" : "Log on Failed";
    event.userName = displayName;
    return event;
}

void RecordLogonEvent(CUserItem* user, bool succeeded)
{
    LogonEventText event = MakeLogonEvent(user ? user->GetDisplayName() : CString(), succeeded);
    // The event log's CLogEvents::Add (written through for a failure) goes here.
    if (Receiver())
        Receiver()(event);
}

LogonEventReceiver SetLogonEventReceiver(LogonEventReceiver receiver)
{
    LogonEventReceiver previous = std::move(Receiver());
    Receiver() = std::move(receiver);
    return previous;
}
