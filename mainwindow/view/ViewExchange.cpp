// The main view's side of bringing records in from files.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/res/Resource.h"
#include "core/os/PathUtils.h"
#include "framework/ModalSeam.h"

void CZorvikanDesktopView::ImportFileAsk(const CString& path, BOOL ask)
{
    if (ask) {
        CString text;
        text.Format(IDS_IMPORT_FILE_ASK, (LPCSTR)GetFileNameOfPath(path));
        if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }
    // The import itself comes with the import and export.
}
