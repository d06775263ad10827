#include "app/history/LogEventsSerializer.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "app/history/LogEvent.h"
#include "app/history/LogEvents.h"

namespace {

const char kRootName[] = "LogEvents";
// Bytes of the run's events per block.
const size_t kNewBytesBlock = 1u << 20;

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
    if (event->IsWritten()) return;  // already in the file's bytes
    // An event of the run is only ever appended: its bytes are made at once,
    // with no element in the document to build and free.
    // In blocks of their own: a growing string would copy every byte
    // written so far, each time into memory touched for the first time.
    m_scratch.clear();
    AppendEventBytes(m_scratch, *event);
    if (m_newBytes.empty() || m_newBytes.back().size() + m_scratch.size() > m_newBytes.back().capacity()) {
        m_newBytes.emplace_back();
        m_newBytes.back().reserve(std::max(kNewBytesBlock, m_scratch.size()));
    }
    m_newBytes.back() += m_scratch;
    event->SetWritten();
    m_dirty = true;
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

void CLogEventsSerializer::AppendEventBytes(std::string& out, const CLogEvent& event)
{
    // As the element with one text element per non-empty field would be
    // written, in the file's field order.
    const std::pair<const char*, CString> fields[] = {
        {"Name", event.GetName()},
        {"Action", event.GetAction()},
        {"Description", event.GetDescription()},
        {"Date", event.GetDate().FormatTimestamp()},
        {"UserName", event.GetUserName()},
        {"UserID", event.GetUserID()},
        {"NewValue", event.GetNewValue()},
        {"OldValue", event.GetOldValue()},
        {"SystemName", event.GetSystemName()},
    };
    const size_t start = out.size();
    AppendUtf16LeBytes(out, u"<LogEvent>");
    const size_t opened = out.size();
    for (const auto& field : fields) AppendTextElementBytes(out, field.first, field.second);
    if (out.size() == opened) {
        out.resize(start);
        AppendUtf16LeBytes(out, u"<LogEvent/>");
    } else {
        AppendUtf16LeBytes(out, u"</LogEvent>");
    }
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
    m_newBytes.clear();
}

void CLogEventsSerializer::Load(CLogEvents& log)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    // Events already read from the file keep their elements: read once only.
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
        // After a removal the kept bytes of the file's events are made
        // again, once, in one pass; the run's events follow them.
        const std::vector<CXmlNodePtr>& children = root->GetChildren();
        if (!m_bytesValid || m_bytesCount != children.size()) {
            m_eventBytes.clear();
            for (const CXmlNodePtr& child : children) AppendXmlBytes(m_eventBytes, *child);
            m_bytesCount = children.size();
            m_bytesValid = true;
        }
        std::vector<const std::string*> parts(1, &m_eventBytes);
        for (const std::string& block : m_newBytes) parts.push_back(&block);
        result = m_doc.SaveDocument(parts);
    } else {
        result = m_doc.SaveDocument();
    }
    if (result == 0) m_dirty = false;
    return result;
}
