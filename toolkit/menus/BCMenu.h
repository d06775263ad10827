#pragma once
// BCMenu: a menu whose items the program draws itself, with a 16 x 15 image
// column, an XP-style look and aligned accelerator texts. It keeps one
// BCMenuData record per owner-drawn item (the record is the item's data),
// builds whole menus from menu templates and edits items in forms that keep
// the records in step with the system menu. Its sub-menus are BCMenu objects
// attached to their handles, so the framework finds the painter of an item
// through the handle of the menu that holds it.
//
// One class in files by concern: BCMenu.cpp (building), BCMenuEdit.cpp
// (item edits and queries), BCMenuImages.cpp (shared images, transforms),
// BCMenuPaint.cpp (measuring and painting).
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/CommonControls.h"
#include "framework/DC.h"
#include "framework/Menu.h"
#include "toolkit/menus/BCMenuData.h"
#include "toolkit/menus/MenuLook.h"

// What all menus of the process share: the registry of sub-menu handles,
// the menu images with their shaded variants, and the look probes.
struct BCMenuShared {
    std::vector<HMENU> subMenus;  // duplicates allowed
    CImageList images;            // created on first use
    std::vector<int> imageIds;    // command id of every image
    bool highColour = false;      // a non-16-colour bitmap was loaded
    int windowsKind = 0;
    bool classicProbed = false;
    bool classicSelected = false;
};

class BCMenu : public CMenu {
    DECLARE_DYNAMIC(BCMenu)
public:
    BCMenu();
    ~BCMenu() override;

    // ---- Overridables ---------------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenu(LPCSTR lpszResourceName);
    // Empties the records, deletes the BCMenu sub-menus this menu made and
    // destroys the system menu.
    virtual BOOL DestroyMenu();

    // ---- Building -------------------------------------------------------
    // id 0 makes a separator; a popup passes its sub-menu handle as id.
    BOOL AppendOwnerDrawnItem(const wchar_t* text, UINT nFlags, UINT_PTR nID, int nIconId = -1);
    // Without MF_BYPOSITION nPosition is a command id: the item is inserted
    // before it in whichever sub-menu holds it.
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const char* text, int nIconId = -1);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* text, int nIconId = -1);
    // Gives every item with the command id the text (none: kept) and the
    // image of a bitmap resource (-1: the shared image of the id, if any).
    // FALSE, with nothing added, when no item has the id.
    BOOL ModifyOwnerDrawnItem(const char* text, UINT nID, int nIconId = -1);
    BOOL ModifyOwnerDrawnItem(const wchar_t* text, UINT nID, int nIconId = -1);
    // The same with an image from a list (none: the image is kept).
    BOOL ModifyOwnerDrawnItem(const char* text, UINT nID, CImageList* pList, int nImage);
    BOOL ModifyOwnerDrawnItem(const wchar_t* text, UINT nID, CImageList* pList, int nImage);
    // Images for every item that a button of the tool-bar resource names.
    BOOL LoadToolbarImages(UINT nToolBarId);

    // ---- Queries and edits ----------------------------------------------
    CMenu* GetSubMenu(int nPos) const;
    BCMenu* FindCommandItem(UINT nID, int& nPos);
    BCMenu* FindNextCommandItem(UINT nID, const std::vector<BCMenu*>& menus, const std::vector<int>& positions,
                                int& nPos);
    BOOL GetItemText(UINT nItem, CString& text, UINT nFlags) const;
    BOOL SetMenuText(UINT nItem, const char* text, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    static BOOL IsBCMenu(CMenu* pMenu);
    static BOOL IsBCMenu(HMENU hMenu);
    // The answer to WM_MENUCHAR for these menus.
    static LRESULT FindMenuCharItem(UINT nChar, UINT nFlags, CMenu* pMenu);
    const std::vector<BCMenuData*>& GetRecords() const { return m_items; }
    const std::vector<HMENU>& GetSubMenuHandles() const { return m_subMenus; }
    BOOL IsLoaded() const { return m_loaded; }

    // ---- Shared images ---------------------------------------------------------
    static std::shared_ptr<BCMenuShared> Shared();
    // Tests put their own state in place (null: a fresh one on next use).
    static std::shared_ptr<BCMenuShared> ReplaceShared(std::shared_ptr<BCMenuShared> state);
    static int FindSharedImage(UINT nID);
    static BOOL HasShadedVariants(int index);
    static int AddToSharedImages(CImageList* pList, int nImage, UINT nID);
    static BOOL AddResourceBitmap(CImageList& list, UINT nBitmapId);
    static BOOL ExtractImageBitmap(CDC* pDC, CImageList* pList, int nImage, CBitmap& bitmap);
    static BOOL FindToolbarImageIndex(UINT nID, UINT nToolBarId, int& nImage);
    static void FadeBitmap(CBitmap& bitmap);
    static void ReplaceGreyBackground(CBitmap& bitmap);
    static void SilhouetteBitmap(CBitmap& bitmap);
    static void GreyRampBitmap(CBitmap& bitmap, COLORREF background);

    // ---- Painting helpers ---------------------------------------------------
    static void PaintCheckBoxXP(CDC* pDC, const RECT& box, BOOL radio, COLORREF highlight, BOOL highlighted);
    static void PaintCheckBoxClassic(CDC* pDC, const RECT& box, BOOL highlighted, BOOL radio);
    static void EmbossImage(CDC* pDC, int x, int y, int cx, int cy, CBitmap& bitmap, COLORREF background);
    static void BlitGreyImage(CDC* pDC, int x, int y, int cx, int cy, CBitmap& bitmap, COLORREF background);

protected:
    int GetForeignItemCount() const;
    void RestoreTopLevelItems();
    void AlignAccelerators();
    void RebuildItemData();
    BCMenuData* AdoptItem(int nPos, UINT nFlags, UINT_PTR nID, const std::wstring& text);
    BOOL InsertByPosition(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* text, int nIconId);
    BOOL ModifyWalk(const wchar_t* text, UINT nID, int nIconId, CImageList* pList, int nImage, bool fromList);
    void SetRecordImage(BCMenuData& record, UINT nID, int nIconId);
    void DrawItemXP(LPDRAWITEMSTRUCT lpDIS);
    void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS);
    BOOL IsRadioChecked(UINT nID) const;

    std::vector<BCMenuData*> m_items;
    std::vector<HMENU> m_subMenus;
    BOOL m_loaded = FALSE;
};

// ---- Look probes and image loading (process-wide, GUI thread) ---------------
int GetWindowsVersionKind();
BOOL HasNewShell();
BOOL IsClassicThemeSelected();
BOOL IsXPThemeActive();
HBITMAP LoadMappedBitmap(UINT nBitmapId);
int GetBitmapColourCount(const BITMAPINFOHEADER& header);
void PaintRadioBullet(CDC* pDC, int x, int y, COLORREF colour);
void PaintCheckTick(CDC* pDC, int x, int y, COLORREF colour, BOOL narrow);
// ANSI (thread code page) to wide text and back; null or unconvertible: empty.
std::wstring MenuTextFromAnsi(const char* text);
CString MenuTextToAnsi(const std::wstring& text);
