#pragma once
// CRegistry: a registry key under a predefined root, opened or created on
// request, with its values read and written; the key is closed again by
// CloseKey or when the object goes. Every flag result is true when the
// system call succeeded; nothing is shown to the user.
#include <windows.h>

#include "framework/CString.h"

class CRegistry {
public:
    CRegistry();
    CRegistry(HKEY root, LPCSTR subKey);
    virtual ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Creates or opens root\sub-key (read and write) and keeps it open.
    bool CreateKey();
    // Opens root\sub-key and keeps it open: for reading and writing when
    // allowed, else for reading.
    bool OpenKey();
    bool Open(HKEY root, LPCSTR subKey);
    // Closes the open key; false when none is open.
    bool CloseKey();

    // A REG_SZ value with its terminating zero.
    bool WriteString(LPCSTR name, LPCSTR text);
    bool WriteBinary(LPCSTR name, const void* data, DWORD size);
    bool WriteDWORD(LPCSTR name, DWORD value);
    // Raw data of any type; size in: the buffer's size, out: the data's size.
    // type, when given, receives the value's type.
    bool ReadValue(LPCSTR name, void* buffer, DWORD& size, DWORD* type = nullptr);
    // A text value cut at its first zero byte. An absent or empty value gives
    // false and leaves text as it was.
    bool ReadString(LPCSTR name, CString& text);
    // A REG_DWORD value (also a 4-byte value of another binary type); false
    // for an absent value or other data.
    bool ReadDWORD(LPCSTR name, DWORD& value);
    bool DeleteValue(LPCSTR name);
    // Size of the value's data in bytes; 0 when it is absent.
    DWORD GetValueSize(LPCSTR name);
    // Whether the value exists, whatever its data.
    bool ValueExists(LPCSTR name);

    HKEY GetKey() const { return m_hKey; }
    HKEY GetRoot() const { return m_hRoot; }
    const CString& GetSubKey() const { return m_subKey; }

private:
    HKEY m_hRoot;
    HKEY m_hKey;
    CString m_subKey;
};

// The default, replaced by the text value root\subKey\name when the key
// opens and the value reads.
CString ReadRegistryString(HKEY root, LPCSTR subKey, LPCSTR name, LPCSTR defaultText);

// Moves the values of HKEY_CURRENT_USER\parent\old into parent\new (new is
// made relative to parent by removing the parent text from it) and deletes
// the old key - only when every value was copied faithfully (same name, type
// and data) and the old key has no sub-keys. True when the old key is gone
// or never existed; false when anything failed (the old key then stays).
bool RenameRegistryKey(const CString& oldKey, const CString& newKey, const CString& parent);

// Deletes HKEY_CURRENT_USER\path with all its sub-keys; the system's status
// code (0 on success).
LONG DeleteRegistryTree(HKEY root, LPCSTR path);
