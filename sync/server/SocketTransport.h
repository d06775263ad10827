#pragma once
// CSocketTransport: a connected Winsock socket as the sync's byte stream.
// Every receive and send waits at most its time-out, so a silent or stuck
// peer never holds the server thread.
#include <winsock2.h>

#include "sync/protocol/SyncTransport.h"

class CSocketTransport : public ISyncTransport {
public:
    // Owns the socket: shut down both ways and closed with the object.
    explicit CSocketTransport(SOCKET socket);
    ~CSocketTransport() override;
    CSocketTransport(const CSocketTransport&) = delete;
    CSocketTransport& operator=(const CSocketTransport&) = delete;

    int Receive(uint8_t* buffer, size_t size, int timeoutMs) override;
    int Send(const uint8_t* data, size_t size, int timeoutMs) override;

    // Waits shorter than this only look for a pause in the peer's sending:
    // their time-out is an answer, not a failure.
    static const int kPauseWaitMs = 1000;

private:
    // Sets a socket time-out option unless it holds the value already.
    bool SetTimeout(int option, int& current, int timeoutMs);

    SOCKET m_socket;
    int m_receiveTimeoutMs = -1;
    int m_sendTimeoutMs = -1;
};

// Shuts the socket down in both directions, then closes it.
void CloseSyncSocket(SOCKET socket);
// Waits until the socket can be read (or written); 1 ready, 0 time-out, -1 error.
int WaitForSocket(SOCKET socket, bool forWrite, int timeoutMs);
