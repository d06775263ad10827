#pragma once
// CLoginFormFiller: one fill of a completed document: the user name and the
// password typed into the first input whose name is in the matching table,
// and the first form whose name is a login form's submitted. Any failing COM
// call ends the fill at once and silently; what was filled stays filled.
// Windows build only.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CLoginFormFiller {
public:
    // Keeps the browser and takes its document's inputs; each step that fails
    // leaves the later members empty.
    explicit CLoginFormFiller(IWebBrowser2* browser);
    ~CLoginFormFiller();
    CLoginFormFiller(const CLoginFormFiller&) = delete;
    CLoginFormFiller& operator=(const CLoginFormFiller&) = delete;

    // The user name, then the password (each skipped when empty), then the
    // login form submitted; S_OK, or the failure that ended the fill.
    HRESULT FillAndSubmit(const CString& userName, const CSecretString& password);
    HRESULT FillUserName(const char* text);
    HRESULT FillPassword(const char* text);
    HRESULT SubmitLoginFormInDocument();
    HRESULT SubmitLoginForm(IHTMLElementCollection* forms);

private:
    HRESULT FillField(const char* text, bool (*matches)(const char*));

    IWebBrowser2* m_browser = nullptr;
    IHTMLDocument3* m_document = nullptr;
    IHTMLElementCollection* m_inputs = nullptr;
};
