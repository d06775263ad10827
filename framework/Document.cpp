#include "framework/Document.h"

#include <algorithm>

#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/ModalSeam.h"
#include "framework/View.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* v : m_views) v->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    SetPathName(lpszPathName);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR)
{
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames destroys the views, which leave the document.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame->m_hWnd)
            frame->DestroyWindow();
        else if (view->m_hWnd)
            view->DestroyWindow();
        else
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::DeleteContents() {}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    for (CView* v : m_views)
        if (CFrameWnd* frame = v->GetParentFrame()) frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL)
{
    m_strPathName = lpszPathName;
    // The title is the file's name.
    CString name(lpszPathName);
    int slash = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
    SetTitle(name.Mid(slash + 1));
}

BOOL CDocument::IsModified() { return m_bModified; }

void CDocument::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    CString name = m_strTitle.IsEmpty() ? CString("Untitled") : m_strTitle;
    CString prompt("Save changes to ");
    prompt += name;
    prompt += "?";
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL: return FALSE;
    case IDYES: return OnSaveDocument(m_strPathName);
    default: return TRUE;
    }
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end()) return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    const std::vector<CView*> views = m_views;
    for (CView* v : views)
        if (v != pSender) v->OnUpdate(pSender, lHint, pHint);
}
