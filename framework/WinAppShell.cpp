// CWinApp's shell integration: the DDE atoms of "open with" and the
// registration of the templates' document types.
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"

namespace {
void SetClassesValue(const CString& key, LPCSTR value)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &h,
                          nullptr) != ERROR_SUCCESS)
        return;  // a user without rights keeps the old association
    ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)value, (DWORD)lstrlenA(value) + 1);
    ::RegCloseKey(h);
}
}  // namespace

void CWinApp::EnableShellOpen()
{
    InitNames();
    if (!m_atomApp) m_atomApp = ::GlobalAddAtomA(m_pszExeName);
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

        SetClassesValue(typeId, typeName.IsEmpty() ? typeId : typeName);
        SetClassesValue(typeId + "\\DefaultIcon", CString(exe) + ",0");
        // The path travels on the command line: no DDE server answers here,
        // so a DDE open command would leave the shell's request unanswered.
        SetClassesValue(typeId + "\\shell\\open\\command", quoted + " \"%1\"");
        if (bCompat) {
            SetClassesValue(typeId + "\\shell\\print\\command", quoted + " /p \"%1\"");
            SetClassesValue(typeId + "\\shell\\printto\\command", quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        if (!ext.IsEmpty() && ext[0] == '.') SetClassesValue(ext, typeId);
    }
}
