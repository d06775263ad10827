#include "app/history/LogEventsSerializer.h"

#include <unordered_set>

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
    return IsExpired(event, CDateValue(CDateValue::kNow));
}

bool CLogEventsSerializer::IsExpired(const CLogEvent& event, const CDateValue& now) const
{
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
    const CXmlNodePtr& root = m_doc.GetRoot();
    const size_t before = root->GetChildren().size();
    CXmlNodePtr element = m_doc.AppendChildElement(root, kEventName);
    if (!element) return;
    WriteEventFields(element, *event);
    event->SetElement(element);
    m_dirty = true;
    if (m_bytesValid && m_bytesCount == before && root->GetChildren().size() == before + 1) {
        AppendXmlBytes(m_eventBytes, *element);
        ++m_bytesCount;
    } else {
        m_bytesValid = false;
    }
}

void CLogEventsSerializer::WriteAll(const std::vector<std::shared_ptr<CLogEvent>>& events)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    // One clock reading and one pass over the root's children, however many
    // events have expired.
    const CDateValue now(CDateValue::kNow);
    std::unordered_set<const CXmlNode*> expired;
    for (const auto& event : events) {
        if (!event) continue;
        if (event->IsNew()) {
            Write(event);
        } else if (IsExpired(*event, now)) {
            if (const CXmlNodePtr element = event->GetElement()) expired.insert(element.get());
            event->SetElement(nullptr);
        }
    }
    if (expired.empty()) return;
    if (m_doc.GetRoot()->RemoveChildrenIf([&expired](const CXmlNode& n) { return expired.count(&n) != 0; })) {
        m_dirty = true;
        m_bytesValid = false;
    }
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
    if (element && m_doc.GetRoot()->RemoveChild(element.get())) {
        m_dirty = true;
        m_bytesValid = false;
    }
    event->SetElement(nullptr);
}

void CLogEventsSerializer::Clear()
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    m_doc.RemoveAllChildren(m_doc.GetRoot());
    m_dirty = true;
    m_eventBytes.clear();
    m_bytesCount = 0;
    m_bytesValid = true;
}

void CLogEventsSerializer::Load(CLogEvents& log)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    // Events of this run may already have their elements in the document.
    std::unordered_set<const CXmlNode*> owned;
    for (const auto& event : log.GetEvents())
        if (CXmlNodePtr element = event->GetElement()) owned.insert(element.get());
    const std::vector<CXmlNodePtr> children = m_doc.GetRoot()->GetChildren();
    for (const CXmlNodePtr& child : children) {
        if (owned.count(child.get())) continue;
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
    const CXmlNodePtr& root = m_doc.GetRoot();
    int result;
    if (m_doc.HasDocument() && root) {
        // After a removal the kept bytes are made again, once, in one pass.
        const std::vector<CXmlNodePtr>& children = root->GetChildren();
        if (!m_bytesValid || m_bytesCount != children.size()) {
            m_eventBytes.clear();
            for (const CXmlNodePtr& child : children) AppendXmlBytes(m_eventBytes, *child);
            m_bytesCount = children.size();
            m_bytesValid = true;
        }
        result = m_doc.SaveDocument(m_eventBytes);
    } else {
        result = m_doc.SaveDocument();
    }
    if (result == 0) m_dirty = false;
    return result;
}
