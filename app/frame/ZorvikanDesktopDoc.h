#pragma once
// CZorvikanDesktopDoc: the document of the one template. It holds nothing:
// the records live in the main view's database object, which saves itself,
// so the framework's document never reads, writes, titles or asks to save.
#include "framework/Document.h"

class CZorvikanDesktopDoc : public CDocument {
    DECLARE_DYNCREATE(CZorvikanDesktopDoc)
public:
    CZorvikanDesktopDoc() = default;
    ~CZorvikanDesktopDoc() override = default;

    void SetTitle(LPCSTR lpszTitle) override;
    BOOL IsModified() override;
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    BOOL OnNewDocument() override;

    DECLARE_MESSAGE_MAP()
};
