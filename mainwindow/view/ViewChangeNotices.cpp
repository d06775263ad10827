// Change notices from outside components, passed on by the main frame.
#include "mainwindow/view/ZorvikanDesktopView.h"

LRESULT CZorvikanDesktopView::OnDatabaseNotify(UINT operation, UINT, LPARAM)
{
    long result = 0;
    if (m_lockState.TakeNotice((int)operation, result)) return result;
    // Reloading the records and updating single items come with the
    // record views.
    return 0;
}
