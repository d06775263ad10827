#include "core/link/LoginFormFiller.h"

#include "core/link/LoginFormNames.h"

namespace {

template <typename T> void ReleaseAndClear(T*& pointer)
{
    if (pointer) pointer->Release();
    pointer = nullptr;
}

// A BSTR of an ANSI text; null when out of memory.
BSTR ToBstr(const char* text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0) return nullptr;
    BSTR out = SysAllocStringLen(nullptr, size - 1);
    if (out) MultiByteToWideChar(CP_ACP, 0, text, -1, out, size);
    return out;
}

// A value as ANSI text: strings as they are, other values through their
// conversion to text (a missing attribute reads as null: empty text).
HRESULT ToText(VARIANT& value, CString& text)
{
    text.Empty();
    if (V_VT(&value) == VT_NULL || V_VT(&value) == VT_EMPTY) return S_OK;
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = VariantChangeType(&converted, &value, 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    BSTR wide = V_BSTR(&converted);
    int size = wide ? WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (size > 1) {
        char* buffer = text.GetBuffer(size);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, size, nullptr, nullptr);
        text.ReleaseBuffer();
    }
    VariantClear(&converted);
    return S_OK;
}

HRESULT ItemAt(IHTMLElementCollection* collection, long index, IDispatch** item)
{
    *item = nullptr;
    VARIANT name, position;
    VariantInit(&name);
    V_VT(&name) = VT_I4;
    V_I4(&name) = index;
    VariantInit(&position);
    V_VT(&position) = VT_I4;
    V_I4(&position) = 0;
    HRESULT hr = collection->item(name, position, item);
    if (SUCCEEDED(hr) && !*item) hr = E_FAIL;
    return hr;
}

}  // namespace

CLoginFormFiller::CLoginFormFiller(IWebBrowser2* browser) : m_browser(browser)
{
    if (!m_browser) return;
    m_browser->AddRef();
    IDispatch* document = nullptr;
    m_openResult = m_browser->get_Document(&document);
    if (SUCCEEDED(m_openResult) && !document) m_openResult = E_FAIL;
    if (FAILED(m_openResult)) return;
    m_openResult = document->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(&m_document));
    document->Release();
    if (FAILED(m_openResult)) {
        m_document = nullptr;
        return;
    }
    BSTR tag = SysAllocString(L"input");
    m_openResult = m_document->getElementsByTagName(tag, &m_inputs);
    if (SUCCEEDED(m_openResult) && !m_inputs) m_openResult = E_FAIL;
    if (FAILED(m_openResult)) m_inputs = nullptr;
    SysFreeString(tag);
}

CLoginFormFiller::~CLoginFormFiller()
{
    ReleaseAndClear(m_inputs);
    ReleaseAndClear(m_document);
    ReleaseAndClear(m_browser);
}

HRESULT CLoginFormFiller::Fill(const CString& userName, const CSecretString& password, const Rules& rules)
{
    HRESULT hr = FillUserName(userName, rules.typeEmpty);
    if (SUCCEEDED(hr)) hr = FillPassword(password.c_str(), rules.typeEmpty);
    if (SUCCEEDED(hr) && rules.submit) hr = SubmitLoginFormInDocument();
    return hr;
}

HRESULT CLoginFormFiller::FillUserName(const char* text, bool typeEmpty)
{
    return FillField(text, typeEmpty, &IsUserNameFieldName);
}

HRESULT CLoginFormFiller::FillPassword(const char* text, bool typeEmpty)
{
    return FillField(text, typeEmpty, &IsPasswordFieldName);
}

HRESULT CLoginFormFiller::FillField(const char* text, bool typeEmpty, bool (*matches)(const char*))
{
    if (!text) text = "";
    if (!m_inputs || (!*text && !typeEmpty)) return S_OK;
    long count = 0;
    HRESULT hr = m_inputs->get_length(&count);
    if (FAILED(hr)) return hr;
    for (long i = 0; i < count; ++i) {
        IDispatch* item = nullptr;
        hr = ItemAt(m_inputs, i, &item);
        if (FAILED(hr)) return hr;
        IHTMLElement* element = nullptr;
        hr = item->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(&element));
        item->Release();
        if (FAILED(hr)) return hr;
        BSTR attribute = SysAllocString(L"name");
        VARIANT value;
        VariantInit(&value);
        hr = element->getAttribute(attribute, 0, &value);
        SysFreeString(attribute);
        CString name;
        if (SUCCEEDED(hr)) hr = ToText(value, name);
        VariantClear(&value);
        if (SUCCEEDED(hr) && matches(name)) {
            VARIANT typed;
            VariantInit(&typed);
            V_VT(&typed) = VT_BSTR;
            V_BSTR(&typed) = ToBstr(text);
            BSTR valueName = SysAllocString(L"value");
            hr = V_BSTR(&typed) ? element->setAttribute(valueName, typed, 0) : E_OUTOFMEMORY;
            SysFreeString(valueName);
            // The text may be a password: wiped before it is freed.
            if (V_BSTR(&typed)) SecureZeroMemory(V_BSTR(&typed), SysStringByteLen(V_BSTR(&typed)));
            VariantClear(&typed);
            element->Release();
            return hr;
        }
        element->Release();
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CLoginFormFiller::SubmitLoginFormInDocument()
{
    if (!m_browser) return E_FAIL;
    IDispatch* dispatch = nullptr;
    HRESULT hr = m_browser->get_Document(&dispatch);
    if (FAILED(hr) || !dispatch) return FAILED(hr) ? hr : E_FAIL;
    IHTMLDocument2* document = nullptr;
    hr = dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    dispatch->Release();
    if (FAILED(hr)) return hr;
    IHTMLElementCollection* forms = nullptr;
    hr = document->get_forms(&forms);
    document->Release();
    if (FAILED(hr) || !forms) return FAILED(hr) ? hr : E_FAIL;
    hr = SubmitLoginForm(forms);
    forms->Release();
    return hr;
}

HRESULT CLoginFormFiller::SubmitLoginForm(IHTMLElementCollection* forms)
{
    if (!forms) return E_POINTER;
    long count = 0;
    HRESULT hr = forms->get_length(&count);
    if (FAILED(hr)) return hr;
    for (long i = 0; i < count; ++i) {
        IDispatch* item = nullptr;
        hr = ItemAt(forms, i, &item);
        if (FAILED(hr)) return hr;
        IHTMLFormElement* form = nullptr;
        hr = item->QueryInterface(IID_IHTMLFormElement, reinterpret_cast<void**>(&form));
        item->Release();
        if (FAILED(hr)) return hr;
        BSTR wide = nullptr;
        bool submitted = false;
        hr = form->get_name(&wide);
        if (SUCCEEDED(hr)) {
            VARIANT value;
            VariantInit(&value);
            V_VT(&value) = VT_BSTR;
            V_BSTR(&value) = wide;
            CString name;
            hr = ToText(value, name);
            VariantClear(&value);
            if (SUCCEEDED(hr) && IsLoginFormName(name)) {
                hr = form->submit();
                submitted = true;
            }
        }
        form->Release();
        if (FAILED(hr) || submitted) return hr;
    }
    return S_OK;
}
