#include "tests/sync/SocketHandheld.h"

#include <filesystem>

#include "sync/handheld/SQLiteDBWrapper.h"
#include "tests/support/ScratchDir.h"
#include "tests/sync/HandheldTestLists.h"

namespace fs = std::filesystem;

namespace zvtest {

SocketHandheld::SocketHandheld(int port, int waitMs)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Fail("no connection");
        return;
    }
    const BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    const DWORD wait = static_cast<DWORD>(waitMs);
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
}

SocketHandheld::~SocketHandheld()
{
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    WSACleanup();
}

bool SocketHandheld::Fail(const std::string& what)
{
    if (m_error.empty()) m_error = what;
    return false;
}

bool SocketHandheld::Say(const std::string& text)
{
    if (!m_error.empty()) return false;
    size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(m_socket, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return Fail("could not send \"" + text.substr(0, 30) + "\"");
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool SocketHandheld::Read(size_t count, std::string& data)
{
    data.clear();
    if (!m_error.empty()) return false;
    char buffer[4096];
    while (data.size() < count) {
        const int n = recv(m_socket, buffer, static_cast<int>(std::min(sizeof buffer, count - data.size())), 0);
        if (n <= 0) return Fail("the desktop said nothing more (after \"" + data.substr(0, 30) + "\")");
        data.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

bool SocketHandheld::ReadOne(std::string& data)
{
    data.clear();
    if (!m_error.empty()) return false;
    char buffer[1024];
    const int n = recv(m_socket, buffer, sizeof buffer, 0);
    if (n <= 0) return Fail("the desktop said nothing more");
    data.assign(buffer, static_cast<size_t>(n));
    return true;
}

bool SocketHandheld::Expect(const std::string& text)
{
    std::string got;
    if (!Read(text.size(), got)) return false;
    if (got != text) return Fail("expected \"" + text + "\", got \"" + got.substr(0, 40) + "\"");
    return true;
}

bool SocketHandheld::ExpectClose()
{
    char buffer[256];
    for (;;) {
        const int n = recv(m_socket, buffer, sizeof buffer, 0);
        if (n == 0) return true;
        if (n < 0) return WSAGetLastError() != WSAETIMEDOUT || Fail("the desktop did not close the connection");
    }
}

bool SocketHandheld::SendFile(const std::string& name, const std::string& data)
{
    if (!Say("FileSend") || !Expect("OK") || !Say(name) || !Expect("OK") || !Say(std::to_string(data.size())) ||
        !Expect("OK"))
        return false;
    for (size_t at = 0; at < data.size(); at += 4096) {
        if (!Say(data.substr(at, 4096)) || !Expect("OK")) return false;
    }
    return true;
}

bool SocketHandheld::Batch(const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& file : files) {
        if (!SendFile(file.first, file.second)) return false;
    }
    return Say("EndOfFiles") && Expect("OK");
}

bool SocketHandheld::ReceiveOne()
{
    std::string name, sizeText, data, part;
    if (!Say("OK") || !ReadOne(name) || !Say("OK") || !ReadOne(sizeText) || !Say("OK")) return false;
    const size_t size = static_cast<size_t>(std::stoll(sizeText));
    while (data.size() < size) {
        if (!Read(std::min<size_t>(4096, size - data.size()), part)) return false;
        data += part;
        if (!Say("OK")) return false;
    }
    m_received[name] = data;
    return true;
}

bool SocketHandheld::ReceiveFolder()
{
    for (;;) {
        std::string word, rest;
        if (!Read(8, word)) return false;
        if (word == "FileSend") {
            if (!ReceiveOne()) return false;
            continue;
        }
        if (!Read(2, rest)) return false;
        if (word + rest != "EndOfFiles") return Fail("expected a file or \"EndOfFiles\", got \"" + word + rest + "\"");
        return Say("OK");
    }
}

bool SocketHandheld::SendDatabase(const std::string& database)
{
    return Expect("SendiPhoneDatabase") && Say("OK") && Expect("OK") && Batch({{"ZorvikanDataBase.db", database}});
}

bool SocketHandheld::FailedWith(const std::string& code)
{
    return Expect("SyncFailed") && Say("OK") && Expect(code) && Say("OK") && Expect("EndConnection") && Say("OK") &&
           ExpectClose();
}

bool SocketHandheld::SucceedingSession(int mode, const std::string& database)
{
    const std::vector<std::pair<std::string, std::string>> attachments = {{"3e9.zfa", std::string(5400, 'a')}};
    if (!SendDatabase(database)) return false;
    bool ok = true;
    if (mode == 1) {
        ok = Expect("SyncModeIphoneOverides") && Say("OK") && Expect("OK") && Batch(attachments);
    } else if (mode == 2) {
        ok = Expect("SyncModeSynchronization") && Say("OK") && Expect("SendNewAndModifiedAttachments") &&
             Batch(attachments) && Say("OK");
    }
    if (!ok) return false;
    if (mode == 0) {
        ok = Expect("SyncModeDesktopOverides") && Say("OK") && Expect("SyncFinalize");
    } else if (mode == 1) {
        ok = Expect("SyncFinalize") && Say("SyncSuccess");
    } else {
        ok = Expect("SyncFinalize") && Say("OK") && Expect("OK");
    }
    if (ok && mode != 1) {
        ok = Say("SendDesktopDatabase") && Expect("OK") && Say("OK") && ReceiveFolder() && ReceiveFolder() &&
             Expect("OK") && Say(mode == 0 ? "SyncSuccess" : "SyncFinalize");
    }
    if (ok && mode != 0) ok = Expect("SendiPhoneCustomIcons") && Batch({{"1000.png", "\x89PNG icon"}});
    if (ok && mode != 1) ok = Say("SendDesktopCustomIcons") && ReceiveFolder();
    return ok && Expect("EndConnection") && Say("OK") && ExpectClose();
}

std::string HandheldDatabaseFor(const std::string& folder, const std::string& userName, const std::string& userId,
                                const std::string& crib)
{
    const fs::path path = fs::path(folder) / ("handheld-" + userId + crib.substr(0, 8) + ".db");
    fs::copy_file(HandheldFixture("plain.db"), path, fs::copy_options::overwrite_existing);
    {
        CSQLiteDBWrapper db(path.string().c_str(), 2 /* read-write */);
        const std::string sql =
            "UPDATE DATABASEINFOTABLE SET PASSWORDCRIB = " + (crib.empty() ? std::string("NULL") : "X'" + crib + "'") +
            ", USERNAME = '" + userName + "', USERID = '" + userId + "';";
        db.Exec(sql.c_str());
        db.Close();
    }
    return ReadFileBytes(path);
}

}  // namespace zvtest
