#include "ZorvikanToolBar/com/ClassFactory.h"

#include <new>

#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "ZorvikanToolBar/com/ToolBarModule.h"

STDMETHODIMP CZorvikBandFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CZorvikBandFactory::AddRef() { return InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CZorvikBandFactory::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP CZorvikBandFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    CZorvikBand* band = new (std::nothrow) CZorvikBand();
    if (!band) return E_OUTOFMEMORY;
    HRESULT hr = band->QueryInterface(iid, out);
    band->Release();
    return hr;
}

STDMETHODIMP CZorvikBandFactory::LockServer(BOOL lock)
{
    if (lock)
        CZorvikanToolBarModule::GetInstance()->Lock();
    else
        CZorvikanToolBarModule::GetInstance()->Unlock();
    return S_OK;
}
