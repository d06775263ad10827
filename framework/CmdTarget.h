#pragma once
// CCmdTarget: the base of everything that receives commands or messages
// through a message map, and CCmdUI, the state of one menu item or bar pane
// asked whether its command is enabled, checked or relabelled.
//
// A message map is a per-class table of entries chained to the base class's
// table (see MessageMap.h for the macros). Every entry carries a small
// function, generated from the handler's own member pointer, that unpacks
// wParam/lParam and calls the handler with its own type: no casts between
// member-function types, nothing that depends on pointer sizes.

#include <windows.h>

#include "framework/CObject.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// One message or command being dispatched to a handler.
struct ZvMsgCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    void* extra;  // CCmdUI* for update handlers, NMHDR* for notifications
};

// Calls the handler; FALSE when an "_EX" handler declined the message.
typedef BOOL (*ZvMsgThunk)(CCmdTarget* target, ZvMsgCall& call);

struct ZvMsgMapEntry {
    UINT message;  // WM_..., WM_COMMAND, WM_NOTIFY, or reflected (ZV_WM_REFLECT_BASE + ...)
    UINT code;     // notification code; CN_COMMAND / CN_UPDATE_COMMAND_UI for commands
    UINT idFirst;  // control or command id range
    UINT idLast;
    const UINT* registered;  // ON_REGISTERED_MESSAGE: the variable that holds the number
    ZvMsgThunk thunk;
};

struct ZvMsgMap {
    const ZvMsgMap* (*baseMap)();  // null for CCmdTarget's own map
    const ZvMsgMapEntry* entries;  // ends with an entry whose thunk is null
};

// Command notification codes (the code field of WM_COMMAND entries).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)-1)

// Reflected messages come back to the control as ZV_WM_REFLECT_BASE + message.
#define ZV_WM_REFLECT_BASE 0xBC00
// WM_CTLCOLORxxx are looked up as this one message with the kind as argument.
#define WM_CTLCOLOR 0x0019
// Sent to every window on idle time so that bars refresh their panes.
#define WM_IDLEUPDATECMDUI 0x0363

// When given to OnCmdMsg, only asks whether a handler exists.
struct ZvHandlerInfo {
    CCmdTarget* target;
    const ZvMsgMapEntry* entry;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Overridables
    // Routes a command (nCode CN_COMMAND or a control notification),
    // an update request (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI*) or a
    // notification (MAKELONG(code, WM_NOTIFY), pExtra the ZvMsgCall*) to this
    // object's map. Frames and views override it to pass it on.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo);

    // The map of the object's most derived class.
    virtual const ZvMsgMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Operations
    // The first entry of the map chain matching a message (or command code and
    // id); null when none.
    const ZvMsgMapEntry* FindMessageEntry(UINT message, UINT code, UINT id) const;

    // Helpers the map macros use.
    static const ZvMsgMap* GetThisMessageMap();
};

// The state of one user-interface item while its update handler runs.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    // Overridables: menu items by default; bars override for their panes.
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR pszText);

    // Asks pTarget's map for an update handler; when there is none and
    // bDisableIfNoHandler, disables the item unless a command handler exists.
    // TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    // Operations
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;     // the menu holding the item, for menu items
    CMenu* m_pSubMenu = nullptr;  // the item's pop-up, when it opens one
    CWnd* m_pOther = nullptr;     // the bar or control, for everything else
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

#include "framework/MessageMap.h"
