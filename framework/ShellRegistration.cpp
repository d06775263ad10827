// CWinApp's shell integration: the "system" topic atoms and the document
// types of the templates under HKEY_CLASSES_ROOT.
#include <windows.h>

#include "framework/DocTemplate.h"
#include "framework/WinApp.h"

namespace {

bool SetKeyText(LPCSTR subKey, LPCSTR value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(key, nullptr, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

}  // namespace

void CWinApp::EnableShellOpen()
{
    if (!m_atomApp) m_atomApp = ::GlobalAddAtomA(m_pszExeName ? m_pszExeName : "");
    if (!m_atomSystemTopic) m_atomSystemTopic = ::GlobalAddAtomA("system");
}

void CWinApp::RegisterShellFileTypes(BOOL bCompat)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(m_hInstance, exe, MAX_PATH);
    CString quoted("\"");
    quoted += exe;
    quoted += "\"";

    for (CDocTemplate* t : m_templates) {
        CString typeId, typeName, ext;
        if (!t->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty()) continue;
        t->GetDocString(typeName, CDocTemplate::regFileTypeName);
        t->GetDocString(ext, CDocTemplate::filterExt);

        SetKeyText(typeId, typeName.IsEmpty() ? (LPCSTR)typeId : (LPCSTR)typeName);
        CString icon(exe);
        icon += ",0";
        SetKeyText(typeId + "\\DefaultIcon", icon);
        // The path travels on the command line: the program answers no DDE,
        // so a DDE open command would leave the shell's request unanswered.
        SetKeyText(typeId + "\\shell\\open\\command", quoted + " \"%1\"");
        if (bCompat) {
            SetKeyText(typeId + "\\shell\\print\\command", quoted + " /p \"%1\"");
            SetKeyText(typeId + "\\shell\\printto\\command", quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        if (!ext.IsEmpty() && ext[0] == '.') SetKeyText(ext, typeId);
    }
}
