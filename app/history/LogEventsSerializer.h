#pragma once
// CLogEventsSerializer: the event log's file "EventsLog.xml". The file is
// read into its document once; events of the run are appended to it, events
// read from it are pruned once they are older than the days to keep, and the
// document is written back whenever the log changes.
//
// The whole file is written for every event, so the bytes of the events
// already written are kept: one more event costs its own bytes and one write
// of the file, not a rewrite of every event. The document holds the events
// read from the file; the run's events, which are only ever appended, are
// kept as their bytes alone. The document is therefore changed through this
// class only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/xml/XmlFileDocument.h"

class CDateValue;
class CLogEvent;
class CLogEvents;

class CLogEventsSerializer {
public:
    // Reads the file at path, or begins a new document with an empty
    // "LogEvents" root.
    CLogEventsSerializer(const CString& path, int64_t daysToKeep);
    // Writes the document when changes were not yet written.
    virtual ~CLogEventsSerializer();

    // An event read from the file: its element goes when it has expired. An
    // event of this run: a "LogEvent" element's bytes are appended for it,
    // once.
    virtual void Write(const std::shared_ptr<CLogEvent>& event);
    // Write for each of the events, in one pass: the expired ones leave the
    // document together.
    void WriteAll(const std::vector<std::shared_ptr<CLogEvent>>& events);
    // Removes the event's own element from the document.
    virtual void Remove(const std::shared_ptr<CLogEvent>& event);
    // Drops every event from the document.
    virtual void Clear();
    // Every element under the root that no event of the log owns yet becomes
    // an event (IsNew 0) added to the log.
    virtual void Load(CLogEvents& log);

    // Writes the document to the file. 0 or the system's error code; the
    // document stays, and a failed write is tried again at the next save.
    int SaveDocument();
    bool HasUnsavedChanges() const { return m_dirty; }

    // More than the days to keep between the event's date and now.
    bool IsExpired(const CLogEvent& event) const;

private:
    bool IsExpired(const CLogEvent& event, const CDateValue& now) const;
    static void AppendEventBytes(std::string& out, const CLogEvent& event);
    std::shared_ptr<CLogEvent> ReadEvent(const CXmlNodePtr& element);

    CXmlFileDocument m_doc;
    int64_t m_daysToKeep;
    bool m_dirty = false;
    // The file's bytes of the root's first m_bytesCount children; valid only
    // while no child was removed since they were made.
    std::string m_eventBytes;
    size_t m_bytesCount = 0;
    bool m_bytesValid = false;
    // The bytes of the run's events, which follow the root's children.
    std::vector<std::string> m_newBytes;
    // One event's bytes on their way there.
    std::string m_scratch;
};
