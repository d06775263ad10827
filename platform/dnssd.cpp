// Stand-in for the DNS Service Discovery client library: a registration is
// announced at once as a multicast DNS response (RFC 6762: PTR, SRV, TXT and
// the host's address record) to 224.0.0.251:5353, and withdrawn with the same
// records at TTL 0; a registration whose announcement cannot be sent (no
// network to send it on) fails. The destination can be changed for tests
// through the environment variable ZV_MDNS_TARGET ("a.b.c.d:port").
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "DnsSd.h"

struct ZvDnsServiceRecord {
    std::string instance;  // "<name>.<type>.local"
    std::string type;      // "<type>.local"
    std::string host;      // "<computer>.local"
    std::string name, regtype;
    uint16_t port = 0;  // network byte order
    std::string txt;
    DNSServiceRegisterReply callback = nullptr;
    void* context = nullptr;
};

namespace {

void PutName(std::string& out, const std::string& name)
{
    size_t start = 0;
    while (start < name.size()) {
        size_t dot = name.find('.', start);
        if (dot == std::string::npos) dot = name.size();
        const size_t length = dot - start < 63 ? dot - start : 63;
        out += static_cast<char>(length);
        out.append(name, start, length);
        start = dot + 1;
    }
    out += '\0';
}

void Put16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value >> 16));
    Put16(out, static_cast<uint16_t>(value & 0xFFFF));
}

// One resource record; cache-flush set for the records only this host owns.
void PutRecord(std::string& out, const std::string& owner, uint16_t type, bool unique, uint32_t ttl,
               const std::string& data)
{
    PutName(out, owner);
    Put16(out, type);
    Put16(out, static_cast<uint16_t>(unique ? 0x8001 : 0x0001));
    Put32(out, ttl);
    Put16(out, static_cast<uint16_t>(data.size()));
    out += data;
}

std::string Announcement(const ZvDnsServiceRecord& r, bool goodbye)
{
    const uint32_t shortTtl = goodbye ? 0 : 120, longTtl = goodbye ? 0 : 4500;
    std::string packet;
    Put16(packet, 0);       // id
    Put16(packet, 0x8400);  // response, authoritative
    Put16(packet, 0);       // questions
    Put16(packet, 4);       // answers
    Put16(packet, 0);
    Put16(packet, 0);
    std::string ptr;
    PutName(ptr, r.instance);
    PutRecord(packet, r.type, 12, false, longTtl, ptr);
    std::string srv;
    Put16(srv, 0);
    Put16(srv, 0);
    Put16(srv, ntohs(r.port));
    PutName(srv, r.host);
    PutRecord(packet, r.instance, 33, true, shortTtl, srv);
    PutRecord(packet, r.instance, 16, true, longTtl, r.txt.empty() ? std::string(1, '\0') : r.txt);
    std::string address(4, '\0');
    const uint32_t loopback = htonl(INADDR_LOOPBACK);
    hostent* self = gethostbyname(r.host.substr(0, r.host.size() - 6).c_str());
    if (self && self->h_addr_list[0])
        std::memcpy(&address[0], self->h_addr_list[0], 4);
    else
        std::memcpy(&address[0], &loopback, 4);
    PutRecord(packet, r.host, 1, true, shortTtl, address);
    return packet;
}

// Whether the packet could be sent.
bool Send(const std::string& packet)
{
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = inet_addr("224.0.0.251");
    target.sin_port = htons(5353);
    if (const char* text = std::getenv("ZV_MDNS_TARGET")) {
        const std::string value = text;
        const size_t colon = value.find(':');
        if (colon != std::string::npos) {
            target.sin_addr.s_addr = inet_addr(value.substr(0, colon).c_str());
            target.sin_port = htons(static_cast<u_short>(std::atoi(value.c_str() + colon + 1)));
        }
    }
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return false;
    const int hops = 255;  // RFC 6762: multicast DNS packets go with TTL 255
    setsockopt(s, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&hops), sizeof hops);
    const int sent = sendto(s, packet.data(), static_cast<int>(packet.size()), 0, reinterpret_cast<sockaddr*>(&target),
                            sizeof target);
    closesocket(s);
    return sent == static_cast<int>(packet.size());
}

bool ValidType(const char* regtype)
{
    // "_service._tcp" or "_service._udp".
    if (!regtype || regtype[0] != '_') return false;
    const size_t length = std::strlen(regtype);
    return length > 6 &&
           (std::strcmp(regtype + length - 5, "._tcp") == 0 || std::strcmp(regtype + length - 5, "._udp") == 0);
}

}  // namespace

extern "C" {

__declspec(dllexport) DNSServiceErrorType ZV_DNSSD_API
    DNSServiceRegister(DNSServiceRef* sdRef, DNSServiceFlags, uint32_t, const char* name, const char* regtype,
                       const char* domain, const char* host, uint16_t port, uint16_t txtLen, const void* txtRecord,
                       DNSServiceRegisterReply callBack, void* context)
{
    if (!sdRef || !ValidType(regtype) ||
        (domain && *domain && std::strcmp(domain, "local") != 0 && std::strcmp(domain, "local.") != 0)) {
        return kDNSServiceErr_BadParam;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return kDNSServiceErr_Unknown;
    char computer[256] = "localhost";
    gethostname(computer, sizeof computer);
    auto* record = new ZvDnsServiceRecord;
    record->name = name && *name ? name : computer;
    record->regtype = regtype;
    record->type = std::string(regtype) + ".local";
    record->instance = record->name + "." + record->type;
    record->host = std::string(host && *host ? host : computer) + ".local";
    record->port = port;
    if (txtRecord && txtLen) record->txt.assign(static_cast<const char*>(txtRecord), txtLen);
    record->callback = callBack;
    record->context = context;
    // No network to announce on: the service is not registered.
    if (!Send(Announcement(*record, false))) {
        delete record;
        WSACleanup();
        return kDNSServiceErr_ServiceNotRunning;
    }
    *sdRef = record;
    return kDNSServiceErr_NoError;
}

__declspec(dllexport) DNSServiceErrorType ZV_DNSSD_API DNSServiceProcessResult(DNSServiceRef sdRef)
{
    if (!sdRef) return kDNSServiceErr_BadParam;
    if (sdRef->callback) {
        sdRef->callback(sdRef, 0, kDNSServiceErr_NoError, sdRef->name.c_str(), sdRef->regtype.c_str(), "local.",
                        sdRef->context);
    }
    return kDNSServiceErr_NoError;
}

__declspec(dllexport) void ZV_DNSSD_API DNSServiceRefDeallocate(DNSServiceRef sdRef)
{
    if (!sdRef) return;
    Send(Announcement(*sdRef, true));
    delete sdRef;
    WSACleanup();
}

}  // extern "C"
