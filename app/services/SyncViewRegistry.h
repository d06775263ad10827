#pragma once
// ISyncViewRegistry: what the Wi-Fi sync server keeps of the main view, so
// that a session on its own thread can reach it: the windows that receive
// its session messages and the database object a session merges into. The
// view registers at its first update and takes both back when it goes, so
// the server never holds a window or a database that no longer exists. The
// sync server implements it; the application hands it out.
#include <windows.h>

class CDatabaseObj;

class ISyncViewRegistry {
public:
    virtual ~ISyncViewRegistry() = default;
    virtual void AddProgressWindow(HWND window) = 0;
    virtual void RemoveProgressWindow(HWND window) = 0;
    // null: no database (the view is going).
    virtual void SetDatabase(CDatabaseObj* database) = 0;
};
