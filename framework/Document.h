#pragma once
// CDocument: the data side of the document/frame/view architecture. It
// knows its template, its views, a title, a path and a modified flag; what
// it holds and how it is stored belong to the program's document class.

#include <vector>

#include "framework/CString.h"
#include "framework/CmdTarget.h"

class CDocTemplate;
class CView;
class CFrameWnd;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    // ---- Overridables ---------------------------------------------------
    // A new, empty document: DeleteContents, not modified.
    virtual BOOL OnNewDocument();
    // The document for a file: DeleteContents and the path; reading the
    // file is the program's document class's business (Serialize).
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // Closes every frame showing the document, then deletes it.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void SetTitle(LPCSTR lpszTitle);
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);
    // TRUE when the document may be closed. A modified document asks
    // "Save changes to <title>?" through the modal seam.
    virtual BOOL SaveModified();
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);

    // ---- Operations -----------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetPathName() const { return m_strPathName; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    const std::vector<CView*>& GetViews() const { return m_views; }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
    BOOL m_bModified = FALSE;

    friend class CDocTemplate;
    DECLARE_MESSAGE_MAP()
};
