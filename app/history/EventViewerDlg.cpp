// The event viewer.
#include "app/history/EventViewerDlg.h"

#include <commctrl.h>

#include "app/history/EventViewerRows.h"
#include "app/history/LogEvents.h"
#include "app/res/HistoryRes.h"
#include "framework/DataExchange.h"

BEGIN_MESSAGE_MAP(CEventViewerDlg, CDialog)
    ON_BN_CLICKED(IDC_EVENT_CLEAR_LOG, &CEventViewerDlg::OnClearLog)
END_MESSAGE_MAP()

CEventViewerDlg::CEventViewerDlg(CWnd* pParent) : CDialog(IDD_EVENT_VIEWER, pParent) {}

void CEventViewerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EVENT_LIST, m_list);
}

BOOL CEventViewerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.SetHeadings(kEventViewerHeadings);
    m_list.DeleteAllItems();
    for (const EventViewerRow& row : EventViewerRows(*CLogEvents::GetInstance()))
        m_list.AddItem(row[0], (LPCSTR)row[1], (LPCSTR)row[2], (LPCSTR)row[3], (LPCSTR)row[4], (LPCSTR)row[5]);
    return TRUE;
}

void CEventViewerDlg::OnClearLog()
{
    CLogEvents::GetInstance()->Clear();
    m_list.DeleteAllItems();
}
