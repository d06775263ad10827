// The other process of the plug-in link tests, playing the browser plug-in
// by the link's rules (see app/PluginLink.h):
//   plugin_link_peer login <suffix> <title> <address>
//     zero-fills a record, writes the texts (cut to 259 and 1039 bytes),
//     writes it into the shared block and sets EventAdded; exit code 0.
//   plugin_link_peer raw <suffix> <byte>
//     fills the whole block with that byte (no terminator anywhere) and sets
//     EventAdded; exit code 0.
//   plugin_link_peer listen <suffix> <listener number>
//     one database and one user listener as every browser window has them:
//     reads the counts it starts from, sets its ready event, then waits until
//     it has seen a database change and a user change; exit code 0 when it
//     saw both within 20 seconds, 2 when not.
//   plugin_link_peer sleep
//     sleeps 30 seconds (started under the browser's file name).
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "core/link/LinkChangeCounts.h"
#include "core/link/WebLoginRecord.h"
#include "core/link/NamedEvent.h"
#include "core/link/SharedMemory.h"
#include "framework/CEvent.h"
#include "tests/app/PluginLinkTestNames.h"

namespace {

int HandOver(const WebLoginLinkNames& names, const unsigned char* block)
{
    CSharedMemory memory(names.sharedMemory);
    // Closed without a reset when the peer ends: the signal stays for the
    // program's worker.
    CEvent added(FALSE, FALSE, names.eventAdded);
    if (!memory.IsValid() || !added.IsValid()) return 3;
    memory.Write(block);
    // Set, not pulsed: the program's worker takes it when it next waits.
    added.SetEvent();
    return 0;
}

// One listener: waits with a time-out and compares the count, so it sees
// every change even when another window's listener took the event.
void Listen(const CString& eventName, CLinkChangeCounts& counts, CLinkChangeCounts::Kind kind, unsigned start,
            std::atomic<bool>& seen, DWORD deadline)
{
    CNamedEvent event(eventName);
    unsigned last = start;
    while (!seen && (LONG)(deadline - GetTickCount()) > 0) {
        event.Lock(1000);
        unsigned now = counts.Get(kind);
        if (now != last) {
            last = now;
            seen = true;  // a real listener reloads here
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "login") == 0) {
        unsigned char block[WebLoginRecord::kSize] = {};
        std::strncpy(reinterpret_cast<char*>(block), argv[3], WebLoginRecord::kTitleSize - 1);
        std::strncpy(reinterpret_cast<char*>(block) + WebLoginRecord::kAddressOffset, argv[4],
                     WebLoginRecord::kAddressSize - 1);
        return HandOver(zvtest::LinkNamesWithSuffix(argv[2]), block);
    }
    if (argc == 4 && std::strcmp(argv[1], "raw") == 0) {
        unsigned char block[WebLoginRecord::kSize];
        std::memset(block, argv[3][0], sizeof block);
        return HandOver(zvtest::LinkNamesWithSuffix(argv[2]), block);
    }
    if (argc == 4 && std::strcmp(argv[1], "listen") == 0) {
        WebLoginLinkNames names = zvtest::LinkNamesWithSuffix(argv[2]);
        CLinkChangeCounts counts(names.changeCounts);
        if (!counts.IsValid()) return 3;
        unsigned dbStart = counts.Get(CLinkChangeCounts::kDatabase);
        unsigned userStart = counts.Get(CLinkChangeCounts::kUser);
        std::atomic<bool> dbSeen{false}, userSeen{false};
        const DWORD deadline = GetTickCount() + 20000;
        std::thread db(Listen, names.dbChange, std::ref(counts), CLinkChangeCounts::kDatabase, dbStart,
                       std::ref(dbSeen), deadline);
        std::thread user(Listen, names.userChange, std::ref(counts), CLinkChangeCounts::kUser, userStart,
                         std::ref(userSeen), deadline);
        CEvent ready(FALSE, TRUE, zvtest::ListenerReadyName(argv[2], std::atoi(argv[3])).c_str());
        ready.SetEvent();
        db.join();
        user.join();
        return dbSeen && userSeen ? 0 : 2;
    }
    if (argc == 2 && std::strcmp(argv[1], "sleep") == 0) {
        Sleep(30000);
        return 0;
    }
    return 1;
}
