#define SECURITY_WIN32
#include "sync/server/BonjourServiceRef.h"

#include <security.h>

#include "core/prefs/AppPrefMgr.h"
#include "framework/ModalSeam.h"
#include "sync/server/SyncPort.h"

namespace {

using RegisterFn = DNSServiceErrorType(ZV_DNSSD_API*)(DNSServiceRef*, DNSServiceFlags, uint32_t, const char*,
                                                      const char*, const char*, const char*, uint16_t, uint16_t,
                                                      const void*, DNSServiceRegisterReply, void*);
using ProcessFn = DNSServiceErrorType(ZV_DNSSD_API*)(DNSServiceRef);
using DeallocateFn = void(ZV_DNSSD_API*)(DNSServiceRef);

const char kServiceType[] = "_zvsync._tcp";
// One length byte, then the text.
const char kTxtRecord[] = "\x0dZorvikanv5db7";

// An export of the library, through void* (FARPROC's type is not the call's).
template <typename Fn> Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int OfferFromPreferences()
{
    std::shared_ptr<CAppPrefMgr> prefs = CAppPrefMgr::GetInstance();
    return prefs ? prefs->OfferBonjourInstall(nullptr, CString()) : 0;
}

}  // namespace

CString GetUserDisplayName()
{
    char name[1024] = {};
    ULONG size = sizeof name;
    if (GetUserNameExA(NameDisplay, name, &size) && name[0]) return CString(name);
    DWORD logon = sizeof name;
    if (GetUserNameA(name, &logon)) return CString(name);
    return CString();
}

void ZV_DNSSD_API OnBonjourRegisterReply(DNSServiceRef, DNSServiceFlags, DNSServiceErrorType errorCode, const char*,
                                         const char*, const char*, void*)
{
    if (errorCode == kDNSServiceErr_NoError) return;
    const char* text = errorCode == kDNSServiceErr_NameConflict ? "Name is already in use, please choose another"
                                                                : "Failed to register Service";
    AfxGetModalSeam().MessageBox(nullptr, text, "Registration Error", MB_OK);
}

CBonjourServiceRef::CBonjourServiceRef(const char* library, OfferInstall offer)
    : m_library(library), m_offer(offer ? std::move(offer) : OfferInstall(OfferFromPreferences))
{}

CBonjourServiceRef::~CBonjourServiceRef()
{
    if (m_ref && m_module) {
        if (auto deallocate = Export<DeallocateFn>(m_module, "DNSServiceRefDeallocate")) {
            deallocate(m_ref);
        }
    }
    if (m_module) FreeLibrary(m_module);
}

DNSServiceErrorType CBonjourServiceRef::RegisterOnce()
{
    if (!m_module) m_module = LoadLibraryA(m_library);
    if (!m_module) return kDNSServiceErr_Unknown;
    auto registerService = Export<RegisterFn>(m_module, "DNSServiceRegister");
    auto process = Export<ProcessFn>(m_module, "DNSServiceProcessResult");
    if (!registerService || !process) return kDNSServiceErr_Unknown;
    const CString name = GetUserDisplayName();
    DNSServiceRef ref = nullptr;
    const DNSServiceErrorType result =
        registerService(&ref, 0, 0, name, kServiceType, "", nullptr, htons(static_cast<u_short>(kSyncServerPort)),
                        sizeof kTxtRecord - 1, kTxtRecord, OnBonjourRegisterReply, nullptr);
    if (result != kDNSServiceErr_NoError) return result;
    m_ref = ref;
    process(ref);
    return kDNSServiceErr_NoError;
}

int CBonjourServiceRef::Register(bool retryAllowed)
{
    if (m_ref) return 1;
    const DNSServiceErrorType result = RegisterOnce();
    if (result == kDNSServiceErr_NoError) return 1;
    if (result == kDNSServiceErr_Unknown && retryAllowed && m_offer() != 0) return Register(false);
    return 0;
}
