#pragma once
// Document templates: which document, frame and view classes go together,
// under one resource id whose string holds the document's names:
// "window title\ndoc name\nfile-new name\nfilter name\nfilter extension\n
//  file type id\nfile type name".

#include "framework/CString.h"
#include "framework/CmdTarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    ~CDocTemplate() override = default;

    // ---- Overridables ---------------------------------------------------
    // Loads the document string (done when the template is added).
    virtual void LoadTemplate();
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

    // ---- Operations -----------------------------------------------------
    UINT GetResourceID() const { return m_nIDResource; }

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// One document at a time: a second OpenDocumentFile reuses the document
// and its frame.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                       const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
