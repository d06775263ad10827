// Change notices from outside components, passed on by the main frame.
#include "mainwindow/view/ZorvikanDesktopView.h"

LRESULT CZorvikanDesktopView::OnDatabaseNotify(UINT operation, UINT, LPARAM)
{
    if (operation == 6) return m_bEditingDialogOpen ? 1 : 0;
    if (m_bLocked) {
        m_bReloadDue = true;
        return 0;
    }
    // Reloading the records and updating single items come with the
    // record views.
    return 0;
}
