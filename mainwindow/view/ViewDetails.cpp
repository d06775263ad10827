// The main view's side of the details pane: drawing the selected record
// into it, its links, and the attachment download.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "core/prefs/AppPrefMgr.h"
#include "framework/DC.h"
#include "mainwindow/details/DetailsPainter.h"
#include "mainwindow/dialogs/AttachmentDownloadDlg.h"

int CZorvikanDesktopView::DrawDetailsPane(HDC dc, const RECT& client, int scrollY)
{
    // The whole record is laid out; the pane shows the part scrolled to.
    RECT document{client.left, client.top - scrollY, client.right, client.top - scrollY + 90000};
    DetailsStyle style;
    style.rowColour = m_viewState.rowColor;
    style.listFont = static_cast<HFONT>(m_listFont.m_hObject);
    style.boldFont = static_cast<HFONT>(m_boldFont.m_hObject);
    style.linkFont = static_cast<HFONT>(m_linkFont.m_hObject);
    style.boldLinkFont = static_cast<HFONT>(m_boldLinkFont.m_hObject);
    style.headingHeight = m_nHeadingHeight;
    CUserItem* user = CurrentUser();
    const CString files = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    CRecord* record = m_viewState.showingDetails ? GetSelectedRecord() : nullptr;
    const CDetailsPainter::IconDrawer drawIcon = [this](HDC iconDc, const RECT& rect, int id) {
        return DrawItemIcon(CDC::FromHandle(iconDc), CRect(rect), id);
    };
    m_detailsPainter.Draw(dc, document, record, m_database, m_bReveal, files, scrollY, style, drawIcon);
    return m_detailsPainter.Extent() + m_detailsPainter.LineHeight();
}

const CString* CZorvikanDesktopView::LinkAtPane(POINT point) const { return m_detailsPainter.LinkAt(point); }

void CZorvikanDesktopView::SaveAttachment(CRecord* record)
{
    if (!record) return;
    CAttachmentDownloadDlg dlg(this);
    CUserItem* user = CurrentUser();
    dlg.SetRecord(record);
    dlg.SetAttachmentsFolder(user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString());
    m_pluginLink.SetBusy(1);
    dlg.DoModal();
    m_pluginLink.SetBusy(0);
}
