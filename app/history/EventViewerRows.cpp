// The event viewer's rows.
#include "app/history/EventViewerRows.h"

#include "app/history/LogEvents.h"

const char kEventViewerHeadings[] = "Date,166;Event,90;Description,90;Action,90;User,90;Computer,90";

std::vector<EventViewerRow> EventViewerRows(const CLogEvents& log)
{
    const std::vector<std::shared_ptr<CLogEvent>> events = log.GetEvents();
    std::vector<EventViewerRow> rows;
    rows.reserve(events.size());
    for (auto it = events.rbegin(); it != events.rend(); ++it) {
        const CLogEvent& event = **it;
        // The date reads as a timestamp, which the list sorts by time.
        rows.push_back({event.GetDate().FormatTimestamp(), event.GetName(), event.GetDescription(), event.GetAction(),
                        event.GetUserName(), event.GetSystemName()});
    }
    return rows;
}
