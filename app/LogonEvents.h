#pragma once
// The events the log-on records in the event log: "Log on" with "Log on
// Failed" or "Log on succeeded" and the user's display name.
//
// RecordLogonEvent is the one place the log-on dialog hands its events to
// the event log. A failed log-on must reach the event log file even when
// the user quits right after, so whatever records it writes it through.
#include <functional>

#include "framework/CString.h"

class CUserItem;

struct LogonEventText {
    CString name;
    CString action;
    CString userName;
};

LogonEventText MakeLogonEvent(const CString& displayName, bool succeeded);

// Records the event of one log-on check of the user.
void RecordLogonEvent(CUserItem* user, bool succeeded);

// Where the events go; returns the previous receiver. Until the event log is
// connected only a receiver installed here sees them (tests install one).
using LogonEventReceiver = std::function<void(const LogonEventText&)>;
LogonEventReceiver SetLogonEventReceiver(LogonEventReceiver receiver);
