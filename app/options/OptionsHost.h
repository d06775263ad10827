#pragma once
// IOptionsHost: what the options sheet's pages apply through the main view,
// which sits above the shell: start with Windows, minimise to tray,
// clipboard clearing, the list's font and row colour, the current type and
// the list's column layout.
#include <windows.h>

#include <cstdint>

#include "core/items/UniqueKey.h"

class CDatabaseObj;
class CShowColumns;
class CUserItem;

class IOptionsHost {
public:
    virtual ~IOptionsHost() = default;

    // The user whose settings the sheet shows.
    virtual CUserItem* GetUser() = 0;

    virtual bool IsRunAtStartup() = 0;
    virtual void SetRunAtStartup(bool run) = 0;
    // Stores "MinimizeToSystemTray" for the current user.
    virtual void SetMinimizeToTray(bool minimize) = 0;
    virtual void SetClearClipboardOptions(bool onExit, bool timerOn, int minutes) = 0;

    // Each asks the user, then stores and applies the choice.
    virtual void ChooseListFont() = 0;
    virtual void ChooseRowColour() = 0;
    virtual LOGFONTA GetListFont() = 0;
    virtual COLORREF GetRowColour() = 0;
    // The window whose device context gives the font's point size.
    virtual HWND GetViewWindow() = 0;

    // The type shown: KEY_ALL for all types, KEY_UNFILED for unfiled.
    virtual void GetCurrentTypeKey(uint8_t key[kUniqueKeySize]) = 0;
    virtual CDatabaseObj& GetDatabase() = 0;
    // The layout the Show Column page changes in place.
    virtual CShowColumns& GetColumns() = 0;
    virtual void SaveListColumns() = 0;
    virtual void LoadListColumns(bool reload) = 0;
    virtual void InvalidateRecordList() = 0;
};
