#pragma once
// The type and category editors (CEditItemsDlg) and the type definition
// dialog (CDefineTypeDlg) as the main view opens them, behind one
// replaceable seam: the view's commands call them here and tests answer in
// their place. Windows build only.
#include <windows.h>

class CDatabaseObj;
class CObjectList;
class CTypeItem;
class CZorvikanDesktopView;

class IItemEditorSeam {
public:
    virtual ~IItemEditorSeam() = default;
    // CEditItemsDlg over the database's types or categories list, modal.
    virtual INT_PTR EditItems(CZorvikanDesktopView& view, CDatabaseObj& db, CObjectList& items) = 0;
    // CDefineTypeDlg over the type, modal; isNew: the type is not in the
    // database yet.
    virtual INT_PTR DefineType(CZorvikanDesktopView& view, CDatabaseObj& db, CTypeItem& type, bool isNew) = 0;
};

// The seam in use.
IItemEditorSeam& GetItemEditorSeam();
// Installs a seam (null: the program's own); returns the previous one.
IItemEditorSeam* SetItemEditorSeam(IItemEditorSeam* seam);
