#pragma once
// The test's stand-ins for a loaded page: a document with its inputs and
// forms, each recording what was typed into it and whether it was submitted.
// The stub bases (made by make_html_stubs.py) answer E_NOTIMPL to everything
// a fill does not use.
#include <windows.h>
#include <mshtml.h>

#include <memory>
#include <string>
#include <vector>

#include "HtmlStubs.h"

namespace zvtest {

#define ZV_FAKE_HTML_REFCOUNT                                                                                          \
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }                                                       \
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }                                                      \
    ULONG refs = 1;

inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class FakeInput : public StubIHTMLElement {
public:
    // An input without a name reads its "name" attribute as null.
    explicit FakeInput(const char* inputName) : hasName(inputName != nullptr), name(inputName ? Wide(inputName) : L"")
    {}
    ZV_FAKE_HTML_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLElement)) {
            *out = static_cast<IHTMLElement*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE getAttribute(BSTR attribute, LONG flags, VARIANT* result) override
    {
        VariantInit(result);
        if (flags != 0 || std::wstring(attribute) != L"name") return E_INVALIDARG;
        if (!hasName) {
            V_VT(result) = VT_NULL;
            return S_OK;
        }
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(name.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE setAttribute(BSTR attribute, VARIANT value, LONG flags) override
    {
        if (failSet) return E_FAIL;
        if (flags != 0 || std::wstring(attribute) != L"value" || V_VT(&value) != VT_BSTR) return E_INVALIDARG;
        typed.push_back(V_BSTR(&value) ? V_BSTR(&value) : L"");
        return S_OK;
    }

    bool hasName;
    std::wstring name;
    bool failSet = false;
    std::vector<std::wstring> typed;  // every value set, in order
};

class FakeForm : public StubIHTMLFormElement {
public:
    explicit FakeForm(const char* formName) : name(Wide(formName)) {}
    ZV_FAKE_HTML_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLFormElement)) {
            *out = static_cast<IHTMLFormElement*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE get_name(BSTR* out) override { return *out = SysAllocString(name.c_str()), S_OK; }
    HRESULT STDMETHODCALLTYPE submit() override { return ++submits, S_OK; }

    std::wstring name;
    int submits = 0;
};

class FakeCollection : public StubIHTMLElementCollection {
public:
    ZV_FAKE_HTML_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, IID_IHTMLElementCollection)) {
            *out = static_cast<IHTMLElementCollection*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE get_length(LONG* out) override { return *out = static_cast<LONG>(items.size()), S_OK; }
    HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT, IDispatch** out) override
    {
        *out = nullptr;
        if (V_VT(&name) != VT_I4 || V_I4(&name) < 0 || V_I4(&name) >= static_cast<LONG>(items.size()))
            return E_INVALIDARG;
        *out = items[V_I4(&name)];
        (*out)->AddRef();
        return S_OK;
    }

    std::vector<IDispatch*> items;
};

// A page of inputs and forms, in document order.
class FakeDocument : public StubIHTMLDocument2, public StubIHTMLDocument3 {
public:
    FakeDocument(const std::vector<const char*>& inputNames, const std::vector<const char*>& formNames)
    {
        for (const char* name : inputNames) inputs.push_back(std::make_unique<FakeInput>(name));
        for (const char* name : formNames) forms.push_back(std::make_unique<FakeForm>(name));
        for (auto& input : inputs) inputList.items.push_back(static_cast<IHTMLElement*>(input.get()));
        for (auto& form : forms) formList.items.push_back(static_cast<IHTMLFormElement*>(form.get()));
    }
    ZV_FAKE_HTML_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLDocument) ||
            IsEqualIID(iid, IID_IHTMLDocument2))
            *out = static_cast<IHTMLDocument2*>(this);
        else if (IsEqualIID(iid, IID_IHTMLDocument3))
            *out = static_cast<IHTMLDocument3*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR tag, IHTMLElementCollection** out) override
    {
        *out = nullptr;
        if (std::wstring(tag) != L"input") return E_INVALIDARG;
        *out = &inputList;
        inputList.AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_forms(IHTMLElementCollection** out) override
    {
        *out = &formList;
        formList.AddRef();
        return S_OK;
    }

    // What each input received (empty when untouched) and how often each
    // form was submitted, in document order.
    std::vector<std::wstring> Typed() const
    {
        std::vector<std::wstring> out;
        for (auto& input : inputs) {
            std::wstring all;
            for (auto& value : input->typed) all += (all.empty() ? L"" : L"|") + value;
            out.push_back(all);
        }
        return out;
    }
    std::vector<int> Submits() const
    {
        std::vector<int> out;
        for (auto& form : forms) out.push_back(form->submits);
        return out;
    }

    std::vector<std::unique_ptr<FakeInput>> inputs;
    std::vector<std::unique_ptr<FakeForm>> forms;
    FakeCollection inputList;
    FakeCollection formList;
};

#undef ZV_FAKE_HTML_REFCOUNT

}  // namespace zvtest
