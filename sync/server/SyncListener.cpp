#include "sync/server/SyncListener.h"

#include "sync/server/SocketTransport.h"

namespace {

// How often the accept loop looks at its stop flag.
const int kStopPollMs = 200;

}  // namespace

CSyncListener::CSyncListener() = default;

CSyncListener::~CSyncListener()
{
    if (m_listen != INVALID_SOCKET) closesocket(m_listen);
    if (m_started) WSACleanup();
}

int CSyncListener::Start(int port)
{
    if (!m_started) {
        WSADATA data;
        if (int error = WSAStartup(MAKEWORD(2, 2), &data)) return error;
        m_started = true;
    }
    m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listen == INVALID_SOCKET) return WSAGetLastError();
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listen, SOMAXCONN) != 0) {
        const int error = WSAGetLastError();
        closesocket(m_listen);
        m_listen = INVALID_SOCKET;
        return error;
    }
    int length = sizeof address;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    return 0;
}

void CSyncListener::Run(const Handler& handler)
{
    if (m_listen == INVALID_SOCKET) return;
    while (!m_stop) {
        if (WaitForSocket(m_listen, false, kStopPollMs) != 1) continue;
        sockaddr_in peer = {};
        int length = sizeof peer;
        const SOCKET connection = accept(m_listen, reinterpret_cast<sockaddr*>(&peer), &length);
        // A failed accept is simply retried.
        if (connection == INVALID_SOCKET) continue;
        const char* text = inet_ntoa(peer.sin_addr);
        handler(connection, text ? text : "", peer.sin_port);
    }
}
