#include "exchange/mail/MapiMail.h"

#include <mapi.h>

#include <cstring>

namespace {

// MAPI's buffers hold at most a Windows path.
void CopyLimited(char (&to)[MAX_PATH], const char* from)
{
    std::strncpy(to, from ? from : "", MAX_PATH - 1);
    to[MAX_PATH - 1] = 0;
}

}  // namespace

unsigned long CMapiMail::SendFile(const char* path, const char* subject) const
{
    if (!path || !*path) return kEmptyPath;
    if (!m_owner || !IsWindow(m_owner)) return kNoOwnerWindow;
    // Kept loaded: the mail program may still be working when the call returns.
    HMODULE mapi = LoadLibraryA("MAPI32.DLL");
    if (!mapi) return kNoLibrary;
    LPMAPISENDMAIL send =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMail")));
    if (!send) return kNoSendMail;

    char pathName[MAX_PATH], fileName[MAX_PATH], subjectText[MAX_PATH];
    CopyLimited(pathName, path);
    const char* slash = std::strrchr(pathName, '\\');
    CopyLimited(fileName, slash ? slash + 1 : pathName);
    CopyLimited(subjectText, subject);

    MapiFileDesc file = {};
    file.nPosition = static_cast<ULONG>(-1);
    file.lpszPathName = pathName;
    file.lpszFileName = fileName;
    MapiMessage message = {};
    message.lpszSubject = subjectText;
    message.nFileCount = 1;
    message.lpFiles = &file;

    ULONG result = send(0, reinterpret_cast<ULONG_PTR>(m_owner), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
    if (result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT || result == MAPI_E_LOGIN_FAILURE) return 0;
    return result;
}
