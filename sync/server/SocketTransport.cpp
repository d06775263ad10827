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
    // Blocking calls bounded by the socket's own time-outs: a receive that
    // has to wait is one call that sleeps until the bytes come, where a
    // non-blocking try, a wait for readiness and a second try cost three
    // (each a trip to the Wine server), once per file chunk.
    u_long nonBlocking = 0;
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

bool CSocketTransport::SetTimeout(int option, int& current, int timeoutMs)
{
    // Zero would mean no time-out at all.
    const DWORD value = static_cast<DWORD>(std::max(timeoutMs, 1));
    if (current == static_cast<int>(value)) return true;
    if (setsockopt(m_socket, SOL_SOCKET, option, reinterpret_cast<const char*>(&value), sizeof value) != 0) {
        current = -1;
        return false;
    }
    current = static_cast<int>(value);
    return true;
}

int CSocketTransport::Receive(uint8_t* buffer, size_t size, int timeoutMs)
{
    const int length = static_cast<int>(std::min<size_t>(size, INT_MAX));
    if (timeoutMs < kPauseWaitMs) {
        // A blocking receive that timed out leaves a Windows socket in an
        // indeterminate state; after a pause the conversation goes on, so
        // the wait is made without touching the stream.
        const int ready = WaitForSocket(m_socket, false, timeoutMs);
        if (ready == 0) return kSyncIoTimedOut;
        if (ready < 0) return kSyncIoError;
    } else if (!SetTimeout(SO_RCVTIMEO, m_receiveTimeoutMs, timeoutMs)) {
        return kSyncIoError;
    }
    const int got = recv(m_socket, reinterpret_cast<char*>(buffer), length, 0);
    if (got > 0) return got;
    if (got == 0) return kSyncIoClosed;
    // A long wait that timed out ends the conversation with the socket.
    return WSAGetLastError() == WSAETIMEDOUT ? kSyncIoTimedOut : kSyncIoError;
}

int CSocketTransport::Send(const uint8_t* data, size_t size, int timeoutMs)
{
    if (!SetTimeout(SO_SNDTIMEO, m_sendTimeoutMs, timeoutMs)) return kSyncIoError;
    size_t sent = 0;
    while (sent < size) {
        const int part = std::min<int>(static_cast<int>(std::min<size_t>(size - sent, INT_MAX)), 65536);
        const int done = send(m_socket, reinterpret_cast<const char*>(data + sent), part, 0);
        if (done > 0) {
            sent += static_cast<size_t>(done);
            continue;
        }
        if (done < 0 && WSAGetLastError() == WSAETIMEDOUT) return kSyncIoTimedOut;
        return kSyncIoError;
    }
    return 0;
}
