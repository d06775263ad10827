#include "app/frame/ZorvikanDesktopDoc.h"

IMPLEMENT_DYNCREATE(CZorvikanDesktopDoc, CDocument)

BEGIN_MESSAGE_MAP(CZorvikanDesktopDoc, CDocument)
END_MESSAGE_MAP()

void CZorvikanDesktopDoc::SetTitle(LPCSTR) {}

BOOL CZorvikanDesktopDoc::IsModified() { return CDocument::IsModified(); }

void CZorvikanDesktopDoc::SetModifiedFlag(BOOL bModified) { CDocument::SetModifiedFlag(bModified); }

BOOL CZorvikanDesktopDoc::OnNewDocument() { return CDocument::OnNewDocument() ? TRUE : FALSE; }
