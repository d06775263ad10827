#pragma once
// CMapiMail: hands one file to the Windows installation's mail program
// through Simple MAPI ("MAPI32.DLL", loaded by name when a file is sent),
// which shows its own message window for the user to address and send.
#include <windows.h>

class CMapiMail {
public:
    enum : unsigned long {
        kEmptyPath = 4097,
        kNoOwnerWindow = 4098,
        kNoLibrary = 4099,
        kNoSendMail = 4100,
    };

    explicit CMapiMail(HWND owner) : m_owner(owner) {}

    // 0 when handed over, cancelled by the user or when MAPI's logon failed;
    // one of the codes above; else MAPI's own result.
    unsigned long SendFile(const char* path, const char* subject) const;

private:
    HWND m_owner;
};
