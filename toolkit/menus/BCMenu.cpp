#include "toolkit/menus/BCMenu.h"

#include <algorithm>

#include "core/os/ProcessWide.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "toolkit/menus/MenuTemplate.h"

IMPLEMENT_DYNAMIC(BCMenu, CMenu)

namespace {

CProcessWide<BCMenuShared>& SharedSlot()
{
    static CProcessWide<BCMenuShared> slot([] {
        auto state = std::make_shared<BCMenuShared>();
        state->windowsKind = GetWindowsVersionKind();
        return state;
    });
    return slot;
}

void RemoveAll(std::vector<HMENU>& list, HMENU hMenu)
{
    list.erase(std::remove(list.begin(), list.end(), hMenu), list.end());
}

}  // namespace

std::shared_ptr<BCMenuShared> BCMenu::Shared() { return SharedSlot().Get(); }

std::shared_ptr<BCMenuShared> BCMenu::ReplaceShared(std::shared_ptr<BCMenuShared> state)
{
    return SharedSlot().Replace(std::move(state));
}

std::wstring MenuTextFromAnsi(const char* text)
{
    if (!text || !*text) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide((size_t)n, L'\0');
    if (::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, &wide[0], n) <= 0) return std::wstring();
    wide.resize((size_t)n - 1);
    return wide;
}

CString MenuTextToAnsi(const std::wstring& text)
{
    if (text.empty()) return CString();
    const int n = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return CString();
    CString ansi;
    char* buf = ansi.GetBuffer(n);
    const int written = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, buf, n, nullptr, nullptr);
    ansi.ReleaseBuffer(written > 0 ? written - 1 : 0);
    return ansi;
}

BCMenu::BCMenu() = default;

BCMenu::~BCMenu() { DestroyMenu(); }

BOOL BCMenu::DestroyMenu()
{
    auto shared = Shared();
    if (m_hMenu) RemoveAll(shared->subMenus, m_hMenu);
    for (auto it = m_subMenus.rbegin(); it != m_subMenus.rend(); ++it) {
        HMENU sub = *it;
        RemoveAll(shared->subMenus, sub);
        CMenu* object = CMenu::FromHandlePermanent(sub);
        if (object && object->IsKindOf(RUNTIME_CLASS(BCMenu))) delete object;
    }
    m_subMenus.clear();
    menurecords::DeleteAll(m_items);
    return CMenu::DestroyMenu();
}

BOOL BCMenu::IsBCMenu(HMENU hMenu)
{
    if (!hMenu) return FALSE;
    auto shared = Shared();
    return std::find(shared->subMenus.begin(), shared->subMenus.end(), hMenu) != shared->subMenus.end();
}

BOOL BCMenu::IsBCMenu(CMenu* pMenu) { return pMenu ? IsBCMenu(pMenu->m_hMenu) : FALSE; }

BOOL BCMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }

BOOL BCMenu::LoadMenu(LPCSTR lpszResourceName)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, lpszResourceName, RT_MENU);
    if (!found) {
        module = AfxGetInstanceHandle();
        found = ::FindResourceA(module, lpszResourceName, RT_MENU);
    }
    if (!found) return FALSE;
    HGLOBAL hRes = ::LoadResource(module, found);
    const BYTE* data = hRes ? static_cast<const BYTE*>(::LockResource(hRes)) : nullptr;
    const DWORD size = ::SizeofResource(module, found);
    if (!data) return FALSE;

    DestroyMenu();
    if (!CMenu::Attach(::CreateMenu())) return FALSE;

    std::vector<menutemplate::Item> items;
    std::vector<menutemplate::Step> steps;
    // A malformed template builds what it describes up to the fault.
    menutemplate::ParseItems(data, size, items);
    menutemplate::BuildSteps(items, steps);
    std::vector<BCMenu*> stack{this};
    for (const menutemplate::Step& step : steps) {
        if (stack.empty()) break;
        const UINT flags = step.item.option & ~menutemplate::kEnd;
        switch (step.kind) {
        case menutemplate::Step::OpenPopup: {
            auto* sub = new BCMenu;
            sub->CreatePopupMenu();
            stack.back()->AppendOwnerDrawnItem(step.item.text.c_str(), flags, (UINT_PTR)sub->m_hMenu, -1);
            stack.push_back(sub);
            break;
        }
        case menutemplate::Step::AddItem:
            stack.back()->AppendOwnerDrawnItem(step.item.text.c_str(), flags, step.item.id, -1);
            break;
        case menutemplate::Step::CloseLevel:
            stack.back()->AlignAccelerators();
            stack.pop_back();
            break;
        }
    }

    // A menu bar (or a context menu's root) keeps its own items plain.
    const int count = (int)GetMenuItemCount();
    for (int i = 0; i < count && i < (int)m_items.size(); ++i) {
        BCMenuData* record = m_items[i];
        if (HMENU sub = ::GetSubMenu(m_hMenu, i)) {
            ::ModifyMenuW(m_hMenu, i, MF_POPUP | MF_BYPOSITION, (UINT_PTR)sub, record->text.c_str());
            record->flags = MF_POPUP | MF_BYPOSITION;
        } else {
            ::ModifyMenuW(m_hMenu, i, MF_BYPOSITION | MF_STRING, record->commandId, record->text.c_str());
            record->flags = MF_BYPOSITION;
        }
    }
    m_loaded = TRUE;
    return TRUE;
}

void BCMenu::SetRecordImage(BCMenuData& record, UINT nID, int nIconId)
{
    if (nIconId == -1) {
        record.sharedImageIndex = FindSharedImage(nID);
        return;
    }
    int image = 0;
    FindToolbarImageIndex(nID, (UINT)nIconId, image);
    CImageList list;
    list.Create(menulook::kImageWidth, menulook::kImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    if (AddResourceBitmap(list, (UINT)nIconId)) record.sharedImageIndex = AddToSharedImages(&list, image, nID);
}

BOOL BCMenu::AppendOwnerDrawnItem(const wchar_t* text, UINT nFlags, UINT_PTR nID, int nIconId)
{
    if (nID == 0)
        nFlags = MF_SEPARATOR | MF_OWNERDRAW | (nFlags & MF_BYPOSITION);
    else
        nFlags |= MF_OWNERDRAW;
    if (nFlags & MF_POPUP) {
        Shared()->subMenus.push_back((HMENU)nID);
        m_subMenus.push_back((HMENU)nID);
    }
    auto* record = new BCMenuData;
    record->text = text ? text : L"";
    m_items.push_back(record);
    if (!(nFlags & MF_POPUP) && nID != 0)
        SetRecordImage(*record, (UINT)nID, nIconId);
    else
        record->sharedImageIndex = -1;
    record->flags = nFlags;
    record->commandId = nID;
    const BOOL result = ::AppendMenuW(m_hMenu, nFlags, nID, reinterpret_cast<LPCWSTR>(record));
    if (m_loaded) RestoreTopLevelItems();
    return result;
}

int BCMenu::GetForeignItemCount() const
{
    if (!m_loaded) return 0;
    const int count = (int)GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        CString text;
        GetMenuString((UINT)p, text, MF_BYPOSITION);
        if (text.IsEmpty()) continue;
        const std::wstring wide = MenuTextFromAnsi(text);
        for (size_t j = 0; j < m_items.size(); ++j) {
            if (m_items[j]->text == wide) return p >= (int)j ? p - (int)j : 0;
        }
    }
    return 0;
}

void BCMenu::RestoreTopLevelItems()
{
    const int count = (int)GetMenuItemCount();
    size_t record = 0;
    for (int p = GetForeignItemCount(); p < count && record < m_items.size(); ++p, ++record) {
        HMENU sub = ::GetSubMenu(m_hMenu, p);
        if (!sub) continue;
        ::ModifyMenuW(m_hMenu, (UINT)p, MF_POPUP | MF_BYPOSITION, (UINT_PTR)sub, m_items[record]->text.c_str());
        m_items[record]->flags = MF_POPUP | MF_BYPOSITION;
    }
}

void BCMenu::AlignAccelerators()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    CWnd* main = AfxGetMainWnd();
    HWND hWnd = main && main->m_hWnd ? main->m_hWnd : ::GetDesktopWindow();
    HDC hdc = ::GetDC(hWnd);
    HGDIOBJ old = font ? ::SelectObject(hdc, font) : nullptr;
    std::vector<std::wstring> texts;
    for (BCMenuData* record : m_items) texts.push_back(record->text);
    menulook::AlignAcceleratorTexts(texts, [hdc](const std::wstring& s) {
        SIZE size{};
        ::GetTextExtentPoint32W(hdc, s.c_str(), (int)s.size(), &size);
        return (int)size.cx;
    });
    for (size_t i = 0; i < m_items.size(); ++i) m_items[i]->text = texts[i];
    if (old) ::SelectObject(hdc, old);
    ::ReleaseDC(hWnd, hdc);
    if (font) ::DeleteObject(font);
}
