#include "app/history/LogEventsSerializer.h"

#include <algorithm>

#include "app/history/LogEvent.h"
#include "app/history/LogEvents.h"

namespace {

const char kRootName[] = "LogEvents";
const char kEventName[] = "LogEvent";

}  // namespace

CLogEventsSerializer::CLogEventsSerializer(const CString& path, int64_t daysToKeep) : m_daysToKeep(daysToKeep)
{
    m_doc.OpenOrBeginDocument(path, kRootName);
}

CLogEventsSerializer::~CLogEventsSerializer()
{
    if (m_dirty) SaveDocument();
}

bool CLogEventsSerializer::IsExpired(const CLogEvent& event) const
{
    const CDateValue now(CDateValue::kNow);
    return (int64_t)now.DaysAfter(event.GetDate()) > m_daysToKeep;
}

void CLogEventsSerializer::Write(const std::shared_ptr<CLogEvent>& event)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot() || !event) return;
    if (!event->IsNew()) {
        if (IsExpired(*event)) Remove(event);
        return;
    }
    if (event->GetElement()) return;  // already in the document
    CXmlNodePtr element = m_doc.AppendChildElement(m_doc.GetRoot(), kEventName);
    if (!element) return;
    WriteEventFields(element, *event);
    event->SetElement(element);
    m_dirty = true;
}

void CLogEventsSerializer::WriteEventFields(const CXmlNodePtr& element, const CLogEvent& event)
{
    m_doc.AppendTextElement(element, "Name", event.GetName());
    m_doc.AppendTextElement(element, "Action", event.GetAction());
    m_doc.AppendTextElement(element, "Description", event.GetDescription());
    m_doc.AppendTextElement(element, "Date", event.GetDate().FormatTimestamp());
    m_doc.AppendTextElement(element, "UserName", event.GetUserName());
    m_doc.AppendTextElement(element, "UserID", event.GetUserID());
    m_doc.AppendTextElement(element, "NewValue", event.GetNewValue());
    m_doc.AppendTextElement(element, "OldValue", event.GetOldValue());
    m_doc.AppendTextElement(element, "SystemName", event.GetSystemName());
}

void CLogEventsSerializer::Remove(const std::shared_ptr<CLogEvent>& event)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot() || !event) return;
    // The event's own element, never another one of the same name.
    const CXmlNodePtr element = event->GetElement();
    if (element && m_doc.GetRoot()->RemoveChild(element.get())) m_dirty = true;
    event->SetElement(nullptr);
}

void CLogEventsSerializer::Clear()
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    m_doc.RemoveAllChildren(m_doc.GetRoot());
    m_dirty = true;
}

void CLogEventsSerializer::Load(CLogEvents& log)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    // Events of this run may already have their elements in the document.
    std::vector<CXmlNode*> owned;
    for (const auto& event : log.GetEvents())
        if (CXmlNodePtr element = event->GetElement()) owned.push_back(element.get());
    const std::vector<CXmlNodePtr> children = m_doc.GetRoot()->GetChildren();
    for (const CXmlNodePtr& child : children) {
        if (std::find(owned.begin(), owned.end(), child.get()) != owned.end()) continue;
        if (std::shared_ptr<CLogEvent> event = ReadEvent(child)) log.Add(event);
    }
}

std::shared_ptr<CLogEvent> CLogEventsSerializer::ReadEvent(const CXmlNodePtr& element)
{
    if (!element || element->GetType() != CXmlNode::kElement || element->GetChildren().empty()) return nullptr;
    auto param = std::make_shared<CLogEventParam>(0);
    for (const CXmlNodePtr& child : element->GetChildren()) {
        const CString name = XmlText(child->GetName());
        const CString text = XmlText(child->GetText());
        if (child->GetType() != CXmlNode::kElement || name.IsEmpty() || text.IsEmpty()) continue;
        if (name == "Name")
            param->m_name = text;
        else if (name == "Action")
            param->m_action = text;
        else if (name == "Description")
            param->m_description = text;
        else if (name == "Date")
            param->m_date = CDateValue(text, CDateValue::kTimestamp);
        else if (name == "UserName")
            param->m_userName = text;
        else if (name == "UserID")
            param->m_userID = text;
        else if (name == "NewValue")
            param->m_newValue = text;
        else if (name == "OldValue")
            param->m_oldValue = text;
        // The computer the event happened on, not the one reading it.
        else if (name == "SystemName")
            param->m_systemName = text;
    }
    auto event = std::make_shared<CLogEvent>(param);
    event->SetElement(element);
    return event;
}

int CLogEventsSerializer::SaveDocument()
{
    const int result = m_doc.SaveDocument();
    if (result == 0) m_dirty = false;
    return result;
}
