#pragma once
// The class factory of the band class: makes CZorvikBand objects. It holds
// no lock of its own; LockServer counts on the module. Windows build only.
#include <windows.h>
#include <unknwn.h>

class CZorvikBandFactory : public IClassFactory {
public:
    CZorvikBandFactory() = default;
    virtual ~CZorvikBandFactory() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // Aggregation is refused: the browser never aggregates a band.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    volatile LONG m_refs = 1;
};
