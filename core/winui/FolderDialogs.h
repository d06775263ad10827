#pragma once
// The shell's folder dialogs and the Save As dialog (windows only).
#include <windows.h>

#include "framework/CString.h"

// Folder dialog with an edit box; a typed name that is not a folder yet is
// offered for creation. True and the folder's path on OK.
bool BrowseForFolder(HWND parent, const CString& title, CString& path);
// The chosen folder, or empty; titleId 0 shows no title.
CString BrowseForFolderWithTitleId(HWND parent, UINT titleId);

// Folder dialog without an edit box starting at path (or the current
// directory when path is empty); on OK path becomes the chosen folder.
bool ChooseFolder(HWND parent, const CString& title, CString& path);
bool ChooseFolderWithTitleId(HWND parent, UINT titleId, CString& path);

// Save As dialog; path receives the dialog's path whatever the answer. True
// when the user pressed OK. filter uses '|' between its parts.
bool ShowSaveFileDialog(HWND parent, const CString& title, const CString& filter, CString& path,
                        const CString& startFolder);

// What the create-folder step of BrowseForFolder does when the user typed a
// name that is not an existing folder: asks through ask (a message-box
// function) and creates the folder under selectedFolder. Returns 1 so that the
// dialog stays open. Exposed so the questions can be answered by a script.
using FolderMessageBoxFn = int (*)(HWND owner, const char* text, UINT type);
int OnBrowseValidateFailed(HWND dialog, const CString& selectedFolder, const CString& typed, FolderMessageBoxFn ask);
