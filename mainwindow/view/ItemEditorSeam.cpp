#include "mainwindow/view/ItemEditorSeam.h"

#include "core/items/ObjectList.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

namespace {

class CProgramItemEditors : public IItemEditorSeam {
public:
    INT_PTR EditItems(CZorvikanDesktopView& view, CDatabaseObj&, CObjectList& items) override
    {
        view.RunItemEditor(items.GetItemKind() == kItemKindType, nullptr);
        return IDOK;
    }
    INT_PTR DefineType(CZorvikanDesktopView& view, CDatabaseObj&, CTypeItem& type, bool isNew) override
    {
        return view.RunDefineTypeDialog(type, isNew);
    }
};

CProgramItemEditors g_programEditors;
IItemEditorSeam* g_seam = nullptr;

}  // namespace

IItemEditorSeam& GetItemEditorSeam() { return g_seam ? *g_seam : g_programEditors; }

IItemEditorSeam* SetItemEditorSeam(IItemEditorSeam* seam)
{
    IItemEditorSeam* previous = g_seam;
    g_seam = seam;
    return previous;
}
