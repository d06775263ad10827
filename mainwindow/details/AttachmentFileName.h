#pragma once
// The name a decrypted attachment is written under. The record's
// attachment name comes from a database file or a sync peer and may hold a
// folder part, "..", a drive or characters Windows refuses; only a plain
// file name may ever join the target folder.
#include "framework/CString.h"

// The last path component with the characters Windows refuses replaced by
// '_', without trailing dots and spaces; reserved device names get a '_' in
// front. "attachment" when nothing is left.
CString SafeAttachmentFileName(const CString& name);
