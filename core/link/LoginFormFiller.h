#pragma once
// CLoginFormFiller: one fill of a completed document: the user name and the
// password typed into the first input whose name is in the matching table,
// and the first form whose name is a login form's submitted. Any failing COM
// call ends the fill at once; what was filled stays filled. Used by the
// browser plug-in on the pages it opens and by the program's auto-fill on
// the browser window it opens. Windows build only.
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
    // S_OK when the document's inputs were taken, else the failure that
    // stopped the construction.
    HRESULT OpenResult() const { return m_openResult; }

    // How a fill treats empty texts and the login form.
    struct Rules {
        bool typeEmpty;  // an empty user name or password is typed (clearing the field)
        bool submit;     // the login form is submitted
    };
    // The plug-in's fill: empty texts skipped, the form always submitted.
    static constexpr Rules kSkipEmptyAndSubmit = {false, true};

    // The user name, then the password, then the login form submitted, as
    // the rules say; S_OK, or the failure that ended the fill.
    HRESULT Fill(const CString& userName, const CSecretString& password, const Rules& rules);
    HRESULT FillAndSubmit(const CString& userName, const CSecretString& password)
    {
        return Fill(userName, password, kSkipEmptyAndSubmit);
    }
    // Each skips an empty text unless typeEmpty.
    HRESULT FillUserName(const char* text, bool typeEmpty = false);
    HRESULT FillPassword(const char* text, bool typeEmpty = false);
    HRESULT SubmitLoginFormInDocument();
    HRESULT SubmitLoginForm(IHTMLElementCollection* forms);

private:
    HRESULT FillField(const char* text, bool typeEmpty, bool (*matches)(const char*));

    IWebBrowser2* m_browser = nullptr;
    IHTMLDocument3* m_document = nullptr;
    IHTMLElementCollection* m_inputs = nullptr;
    HRESULT m_openResult = E_POINTER;
};
