// The DNS-SD stand-in's announcement, caught on a loopback socket and read
// with a DNS message parser written here from RFC 1035 (names with
// compression, resource records) and RFC 6762 (cache-flush bit).
#include <gtest/gtest.h>

#include <winsock2.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "DnsSd.h"

namespace {

struct DnsRecord {
    std::string owner;
    uint16_t type = 0;
    uint16_t klass = 0;
    uint32_t ttl = 0;
    std::string data;       // raw rdata
    size_t dataOffset = 0;  // where rdata starts in the message (for names inside it)
};

uint16_t Get16(const std::string& m, size_t at)
{
    return static_cast<uint16_t>((static_cast<uint8_t>(m.at(at)) << 8) | static_cast<uint8_t>(m.at(at + 1)));
}

// A domain name at offset; offset moves past it (not past a pointer's target).
std::string ReadName(const std::string& m, size_t& offset)
{
    std::string name;
    size_t at = offset;
    bool jumped = false;
    for (int hops = 0; hops < 64; ++hops) {
        const uint8_t length = static_cast<uint8_t>(m.at(at));
        if (length == 0) {
            if (!jumped) offset = at + 1;
            return name;
        }
        if ((length & 0xC0) == 0xC0) {
            if (!jumped) offset = at + 2;
            jumped = true;
            at = ((length & 0x3F) << 8) | static_cast<uint8_t>(m.at(at + 1));
            continue;
        }
        if (!name.empty()) name += '.';
        name += m.substr(at + 1, length);
        at += 1 + length;
    }
    throw std::runtime_error("name loop");
}

std::vector<DnsRecord> ParseAnswers(const std::string& m, uint16_t& flags)
{
    flags = Get16(m, 2);
    const uint16_t questions = Get16(m, 4);
    const uint16_t records = Get16(m, 6) + Get16(m, 8) + Get16(m, 10);
    size_t at = 12;
    for (uint16_t i = 0; i < questions; ++i) {
        ReadName(m, at);
        at += 4;
    }
    std::vector<DnsRecord> out;
    for (uint16_t i = 0; i < records; ++i) {
        DnsRecord r;
        r.owner = ReadName(m, at);
        r.type = Get16(m, at);
        r.klass = Get16(m, at + 2);
        r.ttl = (static_cast<uint32_t>(Get16(m, at + 4)) << 16) | Get16(m, at + 6);
        const uint16_t length = Get16(m, at + 8);
        r.dataOffset = at + 10;
        r.data = m.substr(at + 10, length);
        if (r.data.size() != length) throw std::runtime_error("short record");
        at += 10 + length;
        out.push_back(r);
    }
    EXPECT_EQ(at, m.size());
    return out;
}

struct ReplySeen {
    int calls = 0;
    DNSServiceErrorType error = 1;
    std::string name;
};

void ZV_DNSSD_API OnReply(DNSServiceRef, DNSServiceFlags, DNSServiceErrorType error, const char* name, const char*,
                          const char*, void* context)
{
    auto* seen = static_cast<ReplySeen*>(context);
    ++seen->calls;
    seen->error = error;
    seen->name = name ? name : "";
}

std::string Catch(SOCKET s)
{
    char buffer[1500];
    const int n = recv(s, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

TEST(DnsSdStandIn, AnnouncesTheServiceAndWithdrawsIt)
{
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    DWORD wait = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
    const std::string target = "ZV_MDNS_TARGET=127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    _putenv(target.c_str());

    const char txt[] = "\x0dZorvikanv5db7";
    ReplySeen seen;
    DNSServiceRef ref = nullptr;
    ASSERT_EQ(
        DNSServiceRegister(&ref, 0, 0, "Tester", "_zvsync._tcp", "", nullptr, htons(6674), 14, txt, OnReply, &seen),
        kDNSServiceErr_NoError);
    ASSERT_NE(ref, nullptr);
    const std::string hello = Catch(s);
    ASSERT_FALSE(hello.empty());
    uint16_t flags = 0;
    const std::vector<DnsRecord> records = ParseAnswers(hello, flags);
    EXPECT_EQ(flags, 0x8400);
    std::map<uint16_t, DnsRecord> byType;
    for (const DnsRecord& r : records) byType[r.type] = r;
    ASSERT_EQ(byType.count(12), 1u);
    EXPECT_EQ(byType[12].owner, "_zvsync._tcp.local");
    size_t at = byType[12].dataOffset;
    EXPECT_EQ(ReadName(hello, at), "Tester._zvsync._tcp.local");
    ASSERT_EQ(byType.count(33), 1u);
    const DnsRecord& srv = byType[33];
    EXPECT_EQ(srv.owner, "Tester._zvsync._tcp.local");
    EXPECT_EQ(srv.klass, 0x8001);
    EXPECT_EQ(Get16(srv.data, 4), 6674);
    at = srv.dataOffset + 6;
    const std::string host = ReadName(hello, at);
    EXPECT_EQ(host.substr(host.size() - 6), ".local");
    ASSERT_EQ(byType.count(16), 1u);
    EXPECT_EQ(byType[16].data, std::string(txt, 14));
    ASSERT_EQ(byType.count(1), 1u);
    EXPECT_EQ(byType[1].owner, host);
    EXPECT_EQ(byType[1].data.size(), 4u);
    for (const DnsRecord& r : records) EXPECT_GT(r.ttl, 0u);

    EXPECT_EQ(DNSServiceProcessResult(ref), kDNSServiceErr_NoError);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.error, 0);
    EXPECT_EQ(seen.name, "Tester");

    DNSServiceRefDeallocate(ref);
    const std::string goodbye = Catch(s);
    ASSERT_FALSE(goodbye.empty());
    const std::vector<DnsRecord> gone = ParseAnswers(goodbye, flags);
    EXPECT_EQ(gone.size(), records.size());
    for (const DnsRecord& r : gone) EXPECT_EQ(r.ttl, 0u) << r.type;
    closesocket(s);
    _putenv("ZV_MDNS_TARGET=");
    WSACleanup();
}

TEST(DnsSdStandIn, RefusesAServiceTypeItCannotAnnounce)
{
    DNSServiceRef ref = nullptr;
    EXPECT_EQ(
        DNSServiceRegister(&ref, 0, 0, "Tester", "zvsync", "", nullptr, htons(6674), 0, nullptr, nullptr, nullptr),
        kDNSServiceErr_BadParam);
    EXPECT_EQ(ref, nullptr);
}

}  // namespace
