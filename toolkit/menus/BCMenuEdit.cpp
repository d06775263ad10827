// BCMenu: item edits and queries that keep the records in step with the
// system menu.
#include <algorithm>

#include "toolkit/menus/BCMenu.h"

namespace {

BCMenu* PermanentBCMenu(HMENU hMenu)
{
    CMenu* object = hMenu ? CMenu::FromHandlePermanent(hMenu) : nullptr;
    return object && object->IsKindOf(RUNTIME_CLASS(BCMenu)) ? static_cast<BCMenu*>(object) : nullptr;
}

BCMenu* FindCommandIn(BCMenu* menu, UINT nID, const std::vector<BCMenu*>* skipMenus, const std::vector<int>* skipPos,
                      int& nPos)
{
    const int count = (int)menu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (BCMenu* sub = PermanentBCMenu(::GetSubMenu(menu->m_hMenu, i))) {
            if (BCMenu* found = FindCommandIn(sub, nID, skipMenus, skipPos, nPos)) return found;
            continue;
        }
        if (menu->GetMenuItemID(i) != nID) continue;
        bool visited = false;
        for (size_t k = 0; skipMenus && k < skipMenus->size() && k < skipPos->size(); ++k)
            if ((*skipMenus)[k] == menu && (*skipPos)[k] == i) visited = true;
        if (visited) continue;
        nPos = i;
        return menu;
    }
    return nullptr;
}

}  // namespace

BCMenu* BCMenu::FindCommandItem(UINT nID, int& nPos)
{
    nPos = -1;
    BCMenu* found = FindCommandIn(this, nID, nullptr, nullptr, nPos);
    if (!found) nPos = -1;
    return found;
}

BCMenu* BCMenu::FindNextCommandItem(UINT nID, const std::vector<BCMenu*>& menus, const std::vector<int>& positions,
                                    int& nPos)
{
    nPos = -1;
    BCMenu* found = FindCommandIn(this, nID, &menus, &positions, nPos);
    if (!found) nPos = -1;
    return found;
}

CMenu* BCMenu::GetSubMenu(int nPos) const { return CMenu::GetSubMenu(nPos); }

BOOL BCMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const char* text, int nIconId)
{
    const std::wstring wide = MenuTextFromAnsi(text);
    return InsertMenu(nPosition, nFlags, nIDNewItem, wide.c_str(), nIconId);
}

BOOL BCMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* text, int nIconId)
{
    if (nFlags & MF_BYPOSITION) return InsertByPosition(nPosition, nFlags, nIDNewItem, text, nIconId);
    int pos = -1;
    BCMenu* holder = FindCommandItem(nPosition, pos);
    if (!holder) return FALSE;
    return holder->InsertByPosition((UINT)pos, nFlags | MF_BYPOSITION, nIDNewItem, text, nIconId);
}

BOOL BCMenu::InsertByPosition(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* text, int nIconId)
{
    if (nIDNewItem == 0)
        nFlags = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;
    else
        nFlags |= MF_OWNERDRAW;
    const int count = (int)GetMenuItemCount();
    int position = (nPosition == (UINT)-1 || (int)nPosition > count) ? count : (int)nPosition;
    int recordIndex = position;
    if ((nFlags & MF_POPUP) && m_loaded) {
        const int foreign = GetForeignItemCount();
        if (position >= foreign) recordIndex = position - foreign;
    }
    recordIndex = std::min(recordIndex, (int)m_items.size());
    if (nFlags & MF_POPUP) {
        Shared()->subMenus.push_back((HMENU)nIDNewItem);
        const size_t at = std::min((size_t)position, m_subMenus.size());
        m_subMenus.insert(m_subMenus.begin() + (std::ptrdiff_t)at, (HMENU)nIDNewItem);
    }
    auto* record = new BCMenuData;
    record->text = text ? text : L"";
    m_items.insert(m_items.begin() + recordIndex, record);
    if (!(nFlags & MF_POPUP) && nIDNewItem != 0) SetRecordImage(*record, (UINT)nIDNewItem, nIconId);
    record->flags = nFlags;
    record->commandId = nIDNewItem;
    const BOOL result = ::InsertMenuW(m_hMenu, (UINT)position, nFlags, nIDNewItem, reinterpret_cast<LPCWSTR>(record));
    if (m_loaded) RestoreTopLevelItems();
    return result;
}

BOOL BCMenu::ModifyOwnerDrawnItem(const char* text, UINT nID, int nIconId)
{
    if (!text) return ModifyWalk(nullptr, nID, nIconId, nullptr, 0, false);
    const std::wstring wide = MenuTextFromAnsi(text);
    return ModifyWalk(wide.c_str(), nID, nIconId, nullptr, 0, false);
}

BOOL BCMenu::ModifyOwnerDrawnItem(const wchar_t* text, UINT nID, int nIconId)
{
    return ModifyWalk(text, nID, nIconId, nullptr, 0, false);
}

BOOL BCMenu::ModifyOwnerDrawnItem(const char* text, UINT nID, CImageList* pList, int nImage)
{
    if (!text) return ModifyWalk(nullptr, nID, -1, pList, nImage, true);
    const std::wstring wide = MenuTextFromAnsi(text);
    return ModifyWalk(wide.c_str(), nID, -1, pList, nImage, true);
}

BOOL BCMenu::ModifyOwnerDrawnItem(const wchar_t* text, UINT nID, CImageList* pList, int nImage)
{
    return ModifyWalk(text, nID, -1, pList, nImage, true);
}

BOOL BCMenu::ModifyWalk(const wchar_t* text, UINT nID, int nIconId, CImageList* pList, int nImage, bool fromList)
{
    std::vector<BCMenu*> menus;
    std::vector<int> positions;
    int pos = -1;
    BCMenu* menu = FindCommandItem(nID, pos);
    // No item has the id: nothing to change, and no record to leave behind.
    if (!menu) return FALSE;
    BOOL result = FALSE;
    while (menu) {
        menus.push_back(menu);
        positions.push_back(pos);
        int index = menurecords::RecordForCommandAt(menu->m_items, (size_t)pos, nID);
        BCMenuData* record = nullptr;
        if (index < 0) {
            // An item someone added without a record gets one of its own.
            record = menu->AdoptItem(pos, MF_OWNERDRAW, nID, std::wstring());
            const size_t at = std::min((size_t)pos, menu->m_items.size());
            menu->m_items.insert(menu->m_items.begin() + (std::ptrdiff_t)at, record);
        } else {
            record = menu->m_items[index];
        }
        if (text) record->text = text;
        if (fromList) {
            if (pList) record->sharedImageIndex = AddToSharedImages(pList, nImage, nID);
        } else {
            menu->SetRecordImage(*record, nID, nIconId);
        }
        record->flags = (record->flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        record->commandId = nID;
        result = ::ModifyMenuW(menu->m_hMenu, (UINT)pos, MF_BYPOSITION | record->flags, nID,
                               reinterpret_cast<LPCWSTR>(record));
        menu = FindNextCommandItem(nID, menus, positions, pos);
    }
    return result;
}

BOOL BCMenu::GetItemText(UINT nItem, CString& text, UINT nFlags) const
{
    if (nFlags & MF_BYPOSITION) {
        if (nItem >= m_items.size()) return FALSE;
        text = MenuTextToAnsi(m_items[nItem]->text);
        return TRUE;
    }
    int pos = -1;
    BCMenu* holder = const_cast<BCMenu*>(this)->FindCommandItem(nItem, pos);
    return holder ? holder->GetItemText((UINT)pos, text, MF_BYPOSITION) : FALSE;
}

BOOL BCMenu::SetMenuText(UINT nItem, const char* text, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION) {
        if (nItem >= m_items.size()) return FALSE;
        m_items[nItem]->text = MenuTextFromAnsi(text);
        return TRUE;
    }
    int pos = -1;
    BCMenu* holder = FindCommandItem(nItem, pos);
    return holder ? holder->SetMenuText((UINT)pos, text, MF_BYPOSITION) : FALSE;
}

BOOL BCMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        int pos = -1;
        if (BCMenu* holder = FindCommandItem(nPosition, pos)) return holder->DeleteMenu((UINT)pos, MF_BYPOSITION);
        return CMenu::DeleteMenu(nPosition, nFlags);
    }
    if (HMENU sub = ::GetSubMenu(m_hMenu, (int)nPosition)) {
        m_subMenus.erase(std::remove(m_subMenus.begin(), m_subMenus.end(), sub), m_subMenus.end());
        auto shared = Shared();
        shared->subMenus.erase(std::remove(shared->subMenus.begin(), shared->subMenus.end(), sub),
                               shared->subMenus.end());
        BCMenu* object = PermanentBCMenu(sub);
        if (object) {
            for (int i = (int)object->GetMenuItemCount() - 1; i >= 0; --i) object->DeleteMenu((UINT)i, MF_BYPOSITION);
        }
        menurecords::EraseRecord(m_items, menurecords::FindRecord(m_items, (UINT_PTR)sub, true));
        if (!object) return ::DeleteMenu(m_hMenu, nPosition, nFlags);
        // The object destroys its own handle: take the item out first.
        const BOOL result = ::RemoveMenu(m_hMenu, nPosition, nFlags);
        delete object;
        return result;
    }
    const UINT state = GetMenuState(nPosition, MF_BYPOSITION);
    if (state != (UINT)-1 && (state & MF_SEPARATOR)) {
        if (nPosition < m_items.size() && m_items[nPosition]->text.empty())
            menurecords::EraseRecord(m_items, (int)nPosition);
    } else if (state != (UINT)-1) {
        const UINT id = GetMenuItemID((int)nPosition);
        menurecords::EraseRecord(m_items, menurecords::RecordForCommandAt(m_items, nPosition, id));
    }
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

LRESULT BCMenu::FindMenuCharItem(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    BCMenu* menu = pMenu ? PermanentBCMenu(pMenu->m_hMenu) : nullptr;
    if (!menu || !(nFlags & MF_POPUP)) return 0;
    if (menu->m_items.size() != menu->GetMenuItemCount()) menu->RebuildItemData();
    std::vector<std::string> texts;
    const int count = (int)menu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        CString text;
        menu->GetItemText((UINT)i, text, MF_BYPOSITION);
        texts.emplace_back((const char*)text);
    }
    const int pos = menulook::FindMnemonicPosition(texts, (char)nChar);
    return pos < 0 ? 0 : MAKELRESULT(pos, MNC_EXECUTE);
}

BCMenuData* BCMenu::AdoptItem(int nPos, UINT nFlags, UINT_PTR nID, const std::wstring& text)
{
    auto* record = new BCMenuData;
    record->text = text;
    record->flags = nFlags;
    record->commandId = nID;
    ::ModifyMenuW(m_hMenu, (UINT)nPos, nFlags | MF_BYPOSITION, nID, reinterpret_cast<LPCWSTR>(record));
    return record;
}

void BCMenu::RebuildItemData()
{
    for (BCMenuData* record : m_items) record->claimed = false;
    std::vector<BCMenuData*> rebuilt;
    const int count = (int)GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState((UINT)i, MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(m_hMenu, i);
        const UINT_PTR id = sub ? (UINT_PTR)sub : (state & MF_SEPARATOR) ? 0 : GetMenuItemID(i);
        const int claimed = menurecords::ClaimRecord(m_items, id);
        BCMenuData* record = claimed >= 0 ? m_items[claimed] : nullptr;
        CString text;
        // An owner-drawn item has no system text; only a plain one brings its
        // own. (A popup's state holds its item count, so ask for the type.)
        MENUITEMINFOA type{};
        type.cbSize = sizeof(type);
        type.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(m_hMenu, (UINT)i, TRUE, &type);
        if (!(type.fType & MFT_OWNERDRAW)) GetMenuString((UINT)i, text, MF_BYPOSITION);
        const std::wstring wide = MenuTextFromAnsi(text);
        if (sub) {
            if (record && !wide.empty()) record->text = wide;
            if (!record) record = AdoptItem(i, (state & 0xFF) | MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW, id, wide);
        } else if (state & MF_SEPARATOR) {
            if (record)
                ::ModifyMenuW(m_hMenu, (UINT)i, record->flags | MF_BYPOSITION, 0, reinterpret_cast<LPCWSTR>(record));
            else
                record = AdoptItem(i, state | 0xD00, 0, std::wstring());
        } else if (record) {
            record->flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            if (!wide.empty()) record->text = wide;
            ::ModifyMenuW(m_hMenu, (UINT)i, record->flags, id, reinterpret_cast<LPCWSTR>(record));
        } else {
            record = AdoptItem(i, state | MF_BYPOSITION | MF_OWNERDRAW, id, wide);
        }
        rebuilt.push_back(record);
    }
    for (BCMenuData* record : m_items)
        if (!record->claimed) delete record;
    m_items = rebuilt;
    for (BCMenuData* record : m_items) record->claimed = false;
}
