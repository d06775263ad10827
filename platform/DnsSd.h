#pragma once
// The three calls of the DNS Service Discovery client library the program
// uses, as "dnssd.dll" exports them. The stand-in (dnssd.cpp) announces the
// one registered service by multicast DNS.
#include <cstdint>

#ifdef _WIN32
#define ZV_DNSSD_API __stdcall
#else
#define ZV_DNSSD_API
#endif

typedef struct ZvDnsServiceRecord* DNSServiceRef;
typedef uint32_t DNSServiceFlags;
typedef int32_t DNSServiceErrorType;

enum {
    kDNSServiceErr_NoError = 0,
    kDNSServiceErr_Unknown = -65537,
    kDNSServiceErr_BadParam = -65540,
    kDNSServiceErr_NameConflict = -65548,
    kDNSServiceErr_ServiceNotRunning = -65563,
};

typedef void(ZV_DNSSD_API* DNSServiceRegisterReply)(DNSServiceRef sdRef, DNSServiceFlags flags,
                                                    DNSServiceErrorType errorCode, const char* name,
                                                    const char* regtype, const char* domain, void* context);

extern "C" {
// port in network byte order; txtRecord: length-prefixed strings.
DNSServiceErrorType ZV_DNSSD_API DNSServiceRegister(DNSServiceRef* sdRef, DNSServiceFlags flags,
                                                    uint32_t interfaceIndex, const char* name, const char* regtype,
                                                    const char* domain, const char* host, uint16_t port,
                                                    uint16_t txtLen, const void* txtRecord,
                                                    DNSServiceRegisterReply callBack, void* context);
// Runs the reply callback of the registration once.
DNSServiceErrorType ZV_DNSSD_API DNSServiceProcessResult(DNSServiceRef sdRef);
// Withdraws the announcement and frees the reference.
void ZV_DNSSD_API DNSServiceRefDeallocate(DNSServiceRef sdRef);
}
