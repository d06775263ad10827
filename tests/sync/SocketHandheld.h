#pragma once
// A handheld over a real loopback connection to the sync server: it plays
// whole sessions the way the handheld application does, and reports the
// first thing the desktop said that it did not expect.
#include <winsock2.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zvtest {

class SocketHandheld {
public:
    // Connects to the port on 127.0.0.1; Error() tells when it could not.
    explicit SocketHandheld(int port, int waitMs = 20000);
    ~SocketHandheld();
    SocketHandheld(const SocketHandheld&) = delete;
    SocketHandheld& operator=(const SocketHandheld&) = delete;

    // A whole session in the mode that succeeds: the handheld's database
    // and one attachment go, whatever the desktop sends comes back.
    bool SucceedingSession(int mode, const std::string& database);
    // Phase one only: the database batch.
    bool SendDatabase(const std::string& database);
    // The closing words of a failure with this code.
    bool FailedWith(const std::string& code);

    bool Say(const std::string& text);
    bool Expect(const std::string& text);
    // Files sent as one batch, then "EndOfFiles".
    bool Batch(const std::vector<std::pair<std::string, std::string>>& files);
    // Whether the desktop closed the connection within its wait.
    bool ExpectClose();

    // "" while all went as the handheld expected.
    const std::string& Error() const { return m_error; }
    // The files the desktop sent, by name.
    const std::map<std::string, std::string>& Received() const { return m_received; }

private:
    bool Read(size_t count, std::string& data);
    bool ReadOne(std::string& data);
    bool SendFile(const std::string& name, const std::string& data);
    bool ReceiveOne();
    bool ReceiveFolder();
    bool Fail(const std::string& what);

    SOCKET m_socket = INVALID_SOCKET;
    std::string m_error;
    std::map<std::string, std::string> m_received;
};

// The handheld's database file for a desktop user: the plain fixture, with
// that user's name and id and no password; crib: hex digits of a password
// crib to give it instead of none.
std::string HandheldDatabaseFor(const std::string& folder, const std::string& userName, const std::string& userId,
                                const std::string& crib = std::string());

}  // namespace zvtest
