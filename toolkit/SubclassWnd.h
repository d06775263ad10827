#pragma once
// CSubclassWnd: lets an object that is not a window see and answer the
// messages of any window by putting its own procedure in front of the
// window's. Several hooks may sit on one window; they form a chain, newest
// first, kept in one process-wide map from window to newest hook. A derived
// class overrides WindowProc and passes what it does not handle to the base,
// which hands it down the chain and finally to the window's own procedure.
#include <windows.h>

#include "framework/CMap.h"
#include "framework/CObject.h"

class CSubclassWnd : public CObject {
public:
    CSubclassWnd() = default;
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // With a window: installs this hook on it (remove first when installed).
    // With none: removes this hook when installed. Always TRUE.
    BOOL SetHookedWindow(HWND hWnd);
    HWND GetHookedWindow() const { return m_hWnd; }
    BOOL IsHooked() const { return m_hWnd != nullptr; }

    // The default handling: the next hook of the chain, or the window's own
    // procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;

    friend class CSubclassWndMap;
    friend LRESULT CALLBACK SubclassHookProc(HWND, UINT, WPARAM, LPARAM);
};

// Window -> newest hook of its chain. One per process, made on first use.
class CSubclassWndMap : public CMapPtrToPtr {
public:
    static CSubclassWndMap& Instance();

    CSubclassWnd* FindHook(HWND hWnd) const;
    void AddHook(HWND hWnd, CSubclassWnd* pHook);
    void RemoveHook(CSubclassWnd* pHook);
    void RemoveAllHooks(HWND hWnd);

private:
    CSubclassWndMap() : CMapPtrToPtr(10) {}
};

// The procedure put on every hooked window.
LRESULT CALLBACK SubclassHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
