#include "app/history/LogEvents.h"

#include "app/history/LogEventsSerializer.h"
#include "app/services/UserFilePaths.h"
#include "core/os/ProcessWide.h"

namespace {

// The log over the preference manager's events-log path (its slot is asked
// while this one is locked, never the other way round).
CProcessWide<CLogEvents>& InstanceSlot()
{
    static CProcessWide<CLogEvents> slot([] { return std::make_shared<CLogEvents>(DefaultEventsLogPath()); });
    return slot;
}

}  // namespace

std::shared_ptr<CLogEvents> CLogEvents::GetInstance() { return InstanceSlot().Get(); }

std::shared_ptr<CLogEvents> CLogEvents::ReplaceInstance(std::shared_ptr<CLogEvents> log)
{
    return InstanceSlot().Replace(std::move(log));
}

CLogEvents::CLogEvents(const CString& path) : m_serializer(std::make_shared<CLogEventsSerializer>(path, kDaysToKeep)) {}

CLogEvents::~CLogEvents() = default;

void CLogEvents::Add(std::shared_ptr<CLogEvent> event)
{
    if (!event) return;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_events.push_back(event);
    if (event->IsNew()) {
        m_serializer->Write(event);
        if (m_batchDepth == 0) m_serializer->SaveDocument();
    }
}

void CLogEvents::AddEvent(const CString& name, const CString& action, const CString& userName,
                          const CString& description, const CString& oldValue, const CString& newValue)
{
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName(name).SetAction(action).SetUserName(userName);
    param->SetDescription(description).SetOldValue(oldValue).SetNewValue(newValue);
    Add(std::make_shared<CLogEvent>(param));
}

void CLogEvents::Clear()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_serializer->Clear();
    m_events.clear();
    m_serializer->SaveDocument();
}

void CLogEvents::BeginBatch()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    ++m_batchDepth;
}

void CLogEvents::EndBatch()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_batchDepth > 0 && --m_batchDepth == 0 && m_serializer->HasUnsavedChanges()) m_serializer->SaveDocument();
}

void CLogEvents::Load()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_serializer->Load(*this);
}

void CLogEvents::SaveAll()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_serializer->WriteAll(m_events);
    m_serializer->SaveDocument();
}

std::vector<std::shared_ptr<CLogEvent>> CLogEvents::GetEvents() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_events;
}

int CLogEvents::GetCount() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return (int)m_events.size();
}
