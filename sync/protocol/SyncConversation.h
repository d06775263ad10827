#pragma once
// CSyncConversation: the desktop's side of one Wi-Fi sync session, from the
// request for the handheld's database to "EndConnection", in the order of
// the sync mode. It leads every exchange over a CSyncWire and leaves the
// local work to an ISyncSessionWork.
//
// A peer that goes silent, closes, or sends text over its limit or a size
// that is not short decimal text ends the session at once, without the
// closing words (the stream can no longer be trusted to be in step). A file
// whose name the batch does not take is read and dropped, and the session
// then fails with the closing words.
#include <string>
#include <vector>

#include "sync/protocol/SyncSessionWork.h"
#include "sync/protocol/SyncWire.h"

enum class SyncOutcome {
    kSucceeded,
    kCancelled,         // the handheld sent "SyncHasToStop"
    kPasswordMismatch,  // "00000001"
    kUnreadable,        // the handheld's database cannot be read: "00000007"
    kFailed,            // anything else: "00000005"
};

// The failure code sent for an outcome; none for success and cancel.
const char* SyncFailureCode(SyncOutcome outcome);

class CSyncConversation {
public:
    CSyncConversation(CSyncWire& wire, ISyncSessionWork& work) : m_wire(wire), m_work(work) {}

    // Runs the whole session and its closing exchange.
    SyncOutcome Run();

    // How the wire ended, kSyncWireOk while it stayed in step.
    int WireResult() const { return m_wireResult; }

private:
    // Each step answers 0 to go on, kStopped when the handheld cancelled,
    // kRejected when the session fails with the stream in step, or a
    // SyncWireResult when the stream is lost.
    enum { kStopped = 1, kRejected = 2 };

    SyncOutcome RunPhases();
    int PhaseOne(SyncOutcome& outcome);
    int FinishByMode();
    int FinishDesktopOverwrites();
    int FinishHandheldOverwrites();
    int FinishBothWays();
    int SyncCustomIcons(int mode);
    int SyncPasswordHint();
    void EndSession(SyncOutcome outcome);

    int ReceiveFiles(SyncBatch batch);
    int ReceiveNamedFile(SyncBatch batch, bool& rejected);
    int SendDatabaseOnRequest();
    int SendFolder(SyncSendSet set, const std::vector<std::string>& names);
    int SendOneFile(SyncSendSet set, const std::string& name);
    // A compared reply: whether it was the expected one.
    int ReadReply(const std::string& expected, bool& matched);
    int Say(const std::string& text);
    // Says text and reads the handheld's acknowledgement.
    int SayAndAck(const std::string& text);
    int Ack();
    int Track(int result);

    CSyncWire& m_wire;
    ISyncSessionWork& m_work;
    int m_wireResult = kSyncWireOk;
};
