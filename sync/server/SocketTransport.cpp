#include "sync/server/SocketTransport.h"

#include <algorithm>
#include <climits>

CSocketTransport::CSocketTransport(SOCKET socket) : m_socket(socket)
{
    if (m_socket == INVALID_SOCKET) return;
    // Every message is one small send followed by a wait for the answer:
    // held back for coalescing, each would wait for the peer's delayed ACK.
    const BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    // Reads and writes are tried at once and wait only when the socket is
    // not ready: one call per message in the usual case instead of two.
    u_long nonBlocking = 1;
    ioctlsocket(m_socket, FIONBIO, &nonBlocking);
}

CSocketTransport::~CSocketTransport()
{
    if (m_socket != INVALID_SOCKET) CloseSyncSocket(m_socket);
}

void CloseSyncSocket(SOCKET socket)
{
    shutdown(socket, SD_BOTH);
    closesocket(socket);
}

int WaitForSocket(SOCKET socket, bool forWrite, int timeoutMs)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait;
    wait.tv_sec = timeoutMs / 1000;
    wait.tv_usec = (timeoutMs % 1000) * 1000;
    const int ready = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &wait);
    return ready > 0 ? 1 : (ready == 0 ? 0 : -1);
}

int CSocketTransport::Receive(uint8_t* buffer, size_t size, int timeoutMs)
{
    const int length = static_cast<int>(std::min<size_t>(size, INT_MAX));
    for (bool waited = false;; waited = true) {
        const int got = recv(m_socket, reinterpret_cast<char*>(buffer), length, 0);
        if (got > 0) return got;
        if (got == 0) return kSyncIoClosed;
        if (WSAGetLastError() != WSAEWOULDBLOCK) return kSyncIoError;
        // Nothing yet: wait once for the time-out, then read what came.
        if (waited) return kSyncIoTimedOut;
        const int ready = WaitForSocket(m_socket, false, timeoutMs);
        if (ready == 0) return kSyncIoTimedOut;
        if (ready < 0) return kSyncIoError;
    }
}

int CSocketTransport::Send(const uint8_t* data, size_t size, int timeoutMs)
{
    size_t sent = 0;
    while (sent < size) {
        const int part = std::min<int>(static_cast<int>(std::min<size_t>(size - sent, INT_MAX)), 65536);
        const int done = send(m_socket, reinterpret_cast<const char*>(data + sent), part, 0);
        if (done > 0) {
            sent += static_cast<size_t>(done);
            continue;
        }
        if (done == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return kSyncIoError;
        const int ready = WaitForSocket(m_socket, true, timeoutMs);
        if (ready == 0) return kSyncIoTimedOut;
        if (ready < 0) return kSyncIoError;
    }
    return 0;
}
