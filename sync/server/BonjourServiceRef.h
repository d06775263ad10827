#pragma once
// CBonjourServiceRef: the Wi-Fi sync service's DNS-SD registration
// ("_zvsync._tcp" on port 6674 under the Windows user's name, TXT
// "Zorvikanv5db7"). The client library "dnssd.dll" is loaded by name, so a
// computer without it runs without the Wi-Fi sync instead of failing to
// start; its absence reads as kDNSServiceErr_Unknown, as the library's own
// loader answers.
#include <winsock2.h>
#include <windows.h>

#include <functional>

#include "framework/CString.h"
#include "DnsSd.h"

class CBonjourServiceRef {
public:
    // Asked once when the library is missing and a retry is allowed; non-zero
    // when it was installed. Default: the preference manager's offer.
    using OfferInstall = std::function<int()>;

    explicit CBonjourServiceRef(const char* library = "dnssd.dll", OfferInstall offer = OfferInstall());
    // Withdraws the announcement when one is held.
    ~CBonjourServiceRef();
    CBonjourServiceRef(const CBonjourServiceRef&) = delete;
    CBonjourServiceRef& operator=(const CBonjourServiceRef&) = delete;

    // 1 when the service is registered, 0 otherwise.
    int Register(bool retryAllowed);
    bool IsRegistered() const { return m_ref != nullptr; }

private:
    DNSServiceErrorType RegisterOnce();

    CString m_library;
    OfferInstall m_offer;
    HMODULE m_module = nullptr;
    DNSServiceRef m_ref = nullptr;
};

// The user's display name, else the logon name.
CString GetUserDisplayName();
// Tells the user about a registration that failed after all.
void ZV_DNSSD_API OnBonjourRegisterReply(DNSServiceRef sdRef, DNSServiceFlags flags, DNSServiceErrorType errorCode,
                                         const char* name, const char* regtype, const char* domain, void* context);
