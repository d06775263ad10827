#include "framework/CmdTarget.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const ZvMsgMap* CCmdTarget::GetThisMessageMap()
{
    static const ZvMsgMapEntry entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const ZvMsgMap map = {nullptr, entries};
    return &map;
}

const ZvMsgMapEntry* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const ZvMsgMap* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const ZvMsgMapEntry* e = map->entries; e->thunk; ++e) {
            if (e->registered) {
                if (message == *e->registered) return e;
                continue;
            }
            if (e->message != message) continue;
            if (message == WM_COMMAND || message == WM_NOTIFY || message == ZV_WM_REFLECT_BASE + WM_NOTIFY ||
                message == ZV_WM_REFLECT_BASE + WM_COMMAND) {
                if (e->code != code) continue;
                if ((message == WM_COMMAND || message == WM_NOTIFY) && (id < e->idFirst || id > e->idLast)) continue;
            }
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (HIWORD(nCode) == WM_NOTIFY && nCode != (int)CN_UPDATE_COMMAND_UI) {
        message = WM_NOTIFY;
        code = (UINT)(int)(short)LOWORD(nCode);  // notification codes are small negative numbers
    }
    const ZvMsgMapEntry* e = FindMessageEntry(message, code, nID);
    if (!e) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->target = this;
        pHandlerInfo->entry = e;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* call = static_cast<ZvMsgCall*>(pExtra);
        return e->thunk(this, *call);
    }
    ZvMsgCall call{WM_COMMAND, nID, 0, 0, pExtra};
    return e->thunk(this, call);
}

// ---- CCmdUI ----------------------------------------------------------------

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A disabled control must not keep the focus.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent) ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) m_pOther->SendMessage(BM_SETCHECK, nCheck);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu) {
        if (bOn)
            m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        else
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | MF_UNCHECKED);
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCSTR pszText)
{
    if (m_pMenu) {
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, pszText);
    } else if (m_pOther) {
        m_pOther->SetWindowText(pszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and pop-ups
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (handled && !m_bContinueRouting) return TRUE;
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        ZvHandlerInfo info{};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return FALSE;
}
