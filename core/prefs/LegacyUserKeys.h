#pragma once
// The users of older versions in the registry: their enumeration, and the
// values kept directly under a user's legacy key (HKCU\<legacy key>). A user
// without a legacy key has no such values; reading never creates the key.
#include "core/prefs/AppPrefs.h"

class CRegistry;

// Users the platform manager knows, then the stand-alone users of older
// versions (sub-keys of the older versions' root named with " - _Standalone_").
void EnumLegacyUsers(const CString& productName, const CString& legacyKeyPrefix, CUserList& users);

// The user's legacy key; empty for a null user.
CString LegacyKeyOf(CUserItem* user);
// The user's legacy key opened for reading (and writing where allowed).
bool OpenLegacyUserKey(CUserItem* user, CRegistry& key);
// The same, creating the key when it does not open.
bool OpenOrCreateLegacyUserKey(CUserItem* user, CRegistry& key);

// A stored flag: a DWORD counts by its value (0 is off); a value of another
// kind counts as set, as older versions only tested that it exists.
bool ReadStoredFlag(CRegistry& key, const char* name);

CString ReadLegacyUserString(CUserItem* user, const char* name);
// Creates the key when needed; true when written. An empty legacy key counts
// as done.
bool WriteLegacyUserString(CUserItem* user, const char* name, const CString& text);
// A new buffer of at most 260 bytes the caller owns; {null, 0} when absent.
CAppPrefs::BufferPair ReadLegacyUserBuffer(CUserItem* user, const char* name);
// Only into an existing key.
void WriteLegacyUserBuffer(CUserItem* user, const char* name, const BYTE* buffer, int length);
