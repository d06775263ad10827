#pragma once
// The events a log-on check records in the event log: "Log on" with "Log on
// Failed" or "Log on succeeded" and the display name of the user whose
// password was tried. The event log writes each event of the run to its
// file at once, so a failed log-on is kept even when the user then quits.

class CUserItem;

void RecordLogonEvent(CUserItem* user, bool succeeded);
