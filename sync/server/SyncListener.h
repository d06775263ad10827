#pragma once
// CSyncListener: the sync server's listening socket and its accept loop.
// Connections are taken one at a time and handed to the handler on the
// loop's thread, so sessions run one after the other. The loop looks at its
// stop flag between waits of at most a fraction of a second, so the program
// can end it at exit (Stop, from any thread).
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <string>

class CSyncListener {
public:
    // The handler owns the socket it is given.
    using Handler = std::function<void(SOCKET socket, const std::string& peerAddress, unsigned short peerPort)>;

    CSyncListener();
    ~CSyncListener();
    CSyncListener(const CSyncListener&) = delete;
    CSyncListener& operator=(const CSyncListener&) = delete;

    // Starts the sockets library once, binds any local IPv4 address on the
    // port (0: one the system picks) and listens. 0, or the system's error.
    int Start(int port);
    // The bound port.
    int Port() const { return m_port; }
    // Accepts until Stop; returns at once when Start failed.
    void Run(const Handler& handler);
    void Stop() { m_stop = true; }

private:
    SOCKET m_listen = INVALID_SOCKET;
    int m_port = 0;
    bool m_started = false;
    std::atomic<bool> m_stop{false};
};
