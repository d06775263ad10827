#pragma once
// CLogEvents: the process-wide event log. Any part of the program records
// what happened here; every event of the run reaches "EventsLog.xml" as soon
// as it is added, so an event is kept whichever way the program ends (a
// failed log-on followed by Quit included).
//
//   CLogEvents::GetInstance()->AddEvent("Log on", "Log on Failed", user->GetDisplayName());
//
// Writing the whole file for every event would make an import of thousands
// of records slow; such bulk work holds a CLogEventsBatch, and its events
// reach the file together when the batch ends.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "app/history/LogEvent.h"

class CLogEventsSerializer;

class CLogEvents {
public:
    // Days an event read from the file is kept.
    static constexpr int64_t kDaysToKeep = 10;

    // The process-wide log, made on the first call over the preference
    // manager's events-log path (which reads the file into its document).
    static std::shared_ptr<CLogEvents> GetInstance();
    // Puts another log in place and returns the one it replaces (tests).
    static std::shared_ptr<CLogEvents> ReplaceInstance(std::shared_ptr<CLogEvents> log);

    // A log over the file at path (empty: in memory only).
    explicit CLogEvents(const CString& path);
    virtual ~CLogEvents();
    CLogEvents(const CLogEvents&) = delete;
    CLogEvents& operator=(const CLogEvents&) = delete;

    // Appends the event (a null one is dropped). An event of this run is
    // written to the file at once.
    void Add(std::shared_ptr<CLogEvent> event);
    // Records a new event with these fields (empty ones are not stored).
    void AddEvent(const CString& name, const CString& action, const CString& userName,
                  const CString& description = CString(), const CString& oldValue = CString(),
                  const CString& newValue = CString());
    // Drops every event, from memory and from the file.
    void Clear();
    // While a batch is open, events of the run go into the document only;
    // the file is written when the outermost batch ends.
    void BeginBatch();
    void EndBatch();

    // Adds the file's events (once; events recorded before stay ahead).
    void Load();
    // Prunes the file's events that are older than the days to keep, makes
    // sure every event of the run is in it, and writes the file.
    void SaveAll();

    // The events in the order they were added.
    std::vector<std::shared_ptr<CLogEvent>> GetEvents() const;
    int GetCount() const;

private:
    mutable std::recursive_mutex m_lock;
    std::vector<std::shared_ptr<CLogEvent>> m_events;
    std::shared_ptr<CLogEventsSerializer> m_serializer;
    int m_batchDepth = 0;
};

// A batch of the process-wide log for as long as the object lives.
class CLogEventsBatch {
public:
    CLogEventsBatch() : m_log(CLogEvents::GetInstance()) { m_log->BeginBatch(); }
    ~CLogEventsBatch() { m_log->EndBatch(); }
    CLogEventsBatch(const CLogEventsBatch&) = delete;
    CLogEventsBatch& operator=(const CLogEventsBatch&) = delete;

private:
    std::shared_ptr<CLogEvents> m_log;
};
