#include "mainwindow/view/ItemEditorSeam.h"

namespace {

class CProgramItemEditors : public IItemEditorSeam {
public:
    INT_PTR EditItems(CZorvikanDesktopView&, CDatabaseObj&, CObjectList&) override { return IDCANCEL; }
    INT_PTR DefineType(CZorvikanDesktopView&, CDatabaseObj&, CTypeItem&, bool) override { return IDCANCEL; }
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
