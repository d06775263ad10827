#include "core/winui/FolderDialogs.h"

#include <commdlg.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {

// The folder selected in the open create-folder dialog; written only by its
// callback.
char g_browseSelection[MAX_PATH];

int ShowMessage(HWND owner, const char* text, UINT type) { return MessageBoxA(owner, text, "Zorvikan Desktop", type); }

void FreePidl(LPITEMIDLIST pidl)
{
    if (pidl) CoTaskMemFree(pidl);
}

// Shows the folder browser; the chosen folder into path, false when the user
// cancelled or the choice is no file-system folder.
bool RunBrowseDialog(BROWSEINFOA& info, CString& path)
{
    LPITEMIDLIST pidl = SHBrowseForFolderA(&info);
    if (!pidl) return false;
    char chosen[MAX_PATH];
    const bool ok = SHGetPathFromIDListA(pidl, chosen) != FALSE;
    FreePidl(pidl);
    if (ok) path = chosen;
    return ok;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM)
{
    switch (message) {
    case BFFM_SELCHANGED: {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(param), path))
            lstrcpynA(g_browseSelection, path, MAX_PATH);
        return 0;
    }
    case BFFM_VALIDATEFAILEDA:
        return OnBrowseValidateFailed(dialog, CString(g_browseSelection), CString(reinterpret_cast<const char*>(param)),
                                      ShowMessage);
    default: return 0;
    }
}

int CALLBACK ChooseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        SetWindowLongA(dialog, GWL_STYLE, GetWindowLongA(dialog, GWL_STYLE) & ~0x2000L);
        SetWindowLongA(dialog, GWL_EXSTYLE,
                       GetWindowLongA(dialog, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_CONTEXTHELP));
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    } else if (message == BFFM_SELCHANGED) {
        LPCITEMIDLIST pidl = reinterpret_cast<LPCITEMIDLIST>(param);
        char path[MAX_PATH];
        bool usable = false;
        if (SHGetPathFromIDListA(pidl, path) && _access(path, 0) == 0) {
            SHFILEINFOA info = {};
            info.dwAttributes = SFGAO_LINK;
            SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ATTRIBUTES);
            usable = (info.dwAttributes & SFGAO_LINK) == 0;
        }
        if (!usable) EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    }
    return 0;
}

CString LoadTitle(UINT id)
{
    CString title;
    if (id != 0) title.LoadString(id);
    return title;
}

}  // namespace

int OnBrowseValidateFailed(HWND dialog, const CString& selectedFolder, const CString& typed, FolderMessageBoxFn ask)
{
    const CString candidate = selectedFolder + "\\" + typed;
    if (_access(typed.GetString(), 0) == 0) {
        ask(dialog, "Can't create directory. A file with that name already exists.", MB_OK);
        return 1;
    }
    CString question;
    question.Format("Create directory \"%s\"?", candidate.GetString());
    if (ask(dialog, question.GetString(), MB_YESNO) == IDYES) {
        if (CreateDirectoryA(candidate.GetString(), nullptr))
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(candidate.GetString()));
        else
            ask(dialog, "Can't create directory.", MB_OK);
    }
    return 1;
}

bool BrowseForFolder(HWND parent, const CString& title, CString& path)
{
    std::vector<char> display(MAX_PATH, '\0');
    BROWSEINFOA info = {};
    info.hwndOwner = parent;
    info.pszDisplayName = display.data();
    info.lpszTitle = title.GetString();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    return RunBrowseDialog(info, path);
}

CString BrowseForFolderWithTitleId(HWND parent, UINT titleId)
{
    CString path;
    if (!BrowseForFolder(parent, LoadTitle(titleId), path)) path.Empty();
    return path;
}

bool ChooseFolder(HWND parent, const CString& title, CString& path)
{
    // The start folder: the path's current value (at most 518 bytes are
    // taken, as the dialog's start buffer holds), else the current directory.
    char start[520] = {};
    if (!path.IsEmpty())
        lstrcpynA(start, path.GetString(), 519);
    else
        GetCurrentDirectoryA(sizeof start, start);
    char display[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = parent;
    info.pszDisplayName = display;
    info.lpszTitle = title.GetString();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = ChooseCallback;
    info.lParam = reinterpret_cast<LPARAM>(start);
    return RunBrowseDialog(info, path);
}

bool ChooseFolderWithTitleId(HWND parent, UINT titleId, CString& path)
{
    return ChooseFolder(parent, LoadTitle(titleId), path);
}

bool ShowSaveFileDialog(HWND parent, const CString& title, const CString& filter, CString& path,
                        const CString& startFolder)
{
    std::vector<char> filters(static_cast<size_t>(filter.GetLength()) + 2, '\0');
    for (int i = 0; i < filter.GetLength(); ++i) filters[static_cast<size_t>(i)] = filter[i] == '|' ? '\0' : filter[i];
    std::vector<char> file(MAX_PATH * 4, '\0');
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = parent;
    ofn.lpstrFilter = filter.IsEmpty() ? nullptr : filters.data();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.IsEmpty() ? nullptr : title.GetString();
    ofn.lpstrInitialDir = startFolder.IsEmpty() ? nullptr : startFolder.GetString();
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    const bool ok = GetSaveFileNameA(&ofn) != FALSE;
    path = file.data();
    return ok;
}
