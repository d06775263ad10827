#include "app/xml/XmlDocument.h"

#include <algorithm>
#include <functional>

#include "app/xml/XmlParser.h"

namespace {

const char16_t kNameText[] = u"#text";
const char16_t kNameDocument[] = u"#document";

void AppendEscaped(std::u16string& out, const std::u16string& text, bool attribute)
{
    for (char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'\r': out += u"&#13;"; break;
        case u'"':
            if (attribute)
                out += u"&quot;";
            else
                out += c;
            break;
        case u'\n':
        case u'\t':
            if (attribute)
                out += c == u'\n' ? u"&#10;" : u"&#9;";
            else
                out += c;
            break;
        default: out += c;
        }
    }
}

// An element's start tag with its attributes; "/>" ends it when the element
// holds nothing, unless open asks for a start tag that an end tag follows.
void AppendStartTag(std::u16string& out, const CXmlNode& n, bool open = false)
{
    out += u'<';
    out += n.GetName();
    for (const auto& a : n.Attributes()) {
        out += u' ';
        out += a.first;
        out += u"=\"";
        AppendEscaped(out, a.second, true);
        out += u'"';
    }
    out += n.GetChildren().empty() && !open ? u"/>" : u">";
}

void AppendEndTag(std::u16string& out, const CXmlNode& n)
{
    out += u"</";
    out += n.GetName();
    out += u'>';
}

// Writes without recursion, so that any depth a file was read with can be
// written back.
void Serialise(const CXmlNode& top, std::u16string& out)
{
    struct Frame {
        const CXmlNode* node;
        size_t next;
    };
    std::vector<Frame> stack;
    stack.push_back({&top, 0});
    while (!stack.empty()) {
        Frame& f = stack.back();
        const CXmlNode& n = *f.node;
        if (f.next == 0) {
            switch (n.GetType()) {
            case CXmlNode::kText:
                AppendEscaped(out, n.GetValue(), false);
                stack.pop_back();
                continue;
            case CXmlNode::kComment:
                out += u"<!--";
                out += n.GetValue();
                out += u"-->";
                stack.pop_back();
                continue;
            case CXmlNode::kProcessingInstruction:
                out += u"<?";
                out += n.GetName();
                if (!n.GetValue().empty()) {
                    out += u' ';
                    out += n.GetValue();
                }
                out += u"?>";
                stack.pop_back();
                continue;
            default: break;
            }
            AppendStartTag(out, n);
            if (n.GetChildren().empty()) {
                stack.pop_back();
                continue;
            }
        }
        if (f.next < n.GetChildren().size()) {
            const CXmlNode* child = n.GetChildren()[f.next++].get();
            stack.push_back({child, 0});
            continue;
        }
        AppendEndTag(out, n);
        stack.pop_back();
    }
}

void AppendLeBytes(std::string& out, const std::u16string& text)
{
    char buffer[1024];
    size_t n = 0;
    for (char16_t c : text) {
        buffer[n++] = (char)(c & 0xFF);
        buffer[n++] = (char)(c >> 8);
        if (n == sizeof buffer) {
            out.append(buffer, n);
            n = 0;
        }
    }
    out.append(buffer, n);
}

}  // namespace

CXmlNode::CXmlNode(NodeType type, const std::u16string& name, const std::u16string& value)
    : m_type(type), m_name(name), m_value(value)
{}

CXmlNode::~CXmlNode()
{
    // Frees a deep tree level by level instead of by recursion.
    std::vector<CXmlNodePtr> pending;
    pending.swap(m_children);
    while (!pending.empty()) {
        CXmlNodePtr node = std::move(pending.back());
        pending.pop_back();
        node->m_parent = nullptr;
        if (node.use_count() == 1) {
            for (auto& child : node->m_children) pending.push_back(std::move(child));
            node->m_children.clear();
        }
    }
}

std::u16string CXmlNode::GetText() const
{
    if (m_type != kElement && m_type != kDocument) return m_value;
    std::u16string text;
    std::vector<const CXmlNode*> stack(1, this);
    while (!stack.empty()) {
        const CXmlNode* n = stack.back();
        stack.pop_back();
        if (n->m_type == kText) text += n->m_value;
        for (auto it = n->m_children.rbegin(); it != n->m_children.rend(); ++it) stack.push_back(it->get());
    }
    return text;
}

void CXmlNode::SetText(const std::u16string& text)
{
    if (m_type != kElement) return;
    RemoveAllChildren();
    if (!text.empty()) AppendChild(std::make_shared<CXmlNode>(kText, kNameText, text));
}

bool CXmlNode::IsSelfOrAncestor(const CXmlNode* node) const
{
    // A node without children can only be an ancestor by being this node.
    if (node->m_children.empty()) return node == this;
    for (const CXmlNode* n = this; n; n = n->m_parent)
        if (n == node) return true;
    return false;
}

bool CXmlNode::AppendChild(const CXmlNodePtr& child)
{
    // Only elements and the document hold children.
    if (!child || (m_type != kElement && m_type != kDocument) || IsSelfOrAncestor(child.get()) ||
        child->m_type == kDocument)
        return false;
    const CXmlNodePtr keep = child;
    if (child->m_parent) child->m_parent->RemoveChild(child.get());
    child->m_parent = this;
    m_children.push_back(child);
    return true;
}

bool CXmlNode::RemoveChild(const CXmlNode* child)
{
    for (auto it = m_children.begin(); it != m_children.end(); ++it) {
        if (it->get() == child) {
            (*it)->m_parent = nullptr;
            m_children.erase(it);
            return true;
        }
    }
    return false;
}

size_t CXmlNode::RemoveChildrenIf(const std::function<bool(const CXmlNode&)>& remove)
{
    const auto kept = std::stable_partition(m_children.begin(), m_children.end(),
                                            [&remove](const CXmlNodePtr& c) { return !remove(*c); });
    const size_t removed = (size_t)(m_children.end() - kept);
    for (auto it = kept; it != m_children.end(); ++it) (*it)->m_parent = nullptr;
    m_children.erase(kept, m_children.end());
    return removed;
}

void CXmlNode::RemoveAllChildren()
{
    for (auto& c : m_children) c->m_parent = nullptr;
    m_children.clear();
}

CXmlDocument::CXmlDocument() : m_document(std::make_shared<CXmlNode>(CXmlNode::kDocument, kNameDocument)) {}

CXmlNodePtr CXmlDocument::CreateElement(const std::u16string& name) const
{
    return std::make_shared<CXmlNode>(CXmlNode::kElement, name);
}

CXmlNodePtr CXmlDocument::CreateProcessingInstruction(const std::u16string& target, const std::u16string& data) const
{
    return std::make_shared<CXmlNode>(CXmlNode::kProcessingInstruction, target, data);
}

bool CXmlDocument::LoadBytes(const std::string& bytes)
{
    m_document->RemoveAllChildren();
    if (!ParseXmlBytes(bytes, m_document)) {
        m_document->RemoveAllChildren();
        return false;
    }
    return true;
}

std::string CXmlDocument::SaveBytes() const
{
    std::u16string text;
    for (const auto& child : m_document->GetChildren()) {
        Serialise(*child, text);
        text += u"\r\n";
    }
    std::string bytes("\xFF\xFE");
    AppendLeBytes(bytes, text);
    return bytes;
}

bool CXmlDocument::SaveBytesAround(const CXmlNode& element, std::string& head, std::string& tail, bool childless) const
{
    if (element.GetParent() != m_document.get() || element.GetType() != CXmlNode::kElement ||
        (element.GetChildren().empty() && !childless))
        return false;
    std::u16string before, after;
    std::u16string* out = &before;
    for (const auto& child : m_document->GetChildren()) {
        if (child.get() == &element) {
            AppendStartTag(before, element, true);
            AppendEndTag(after, element);
            out = &after;
        } else {
            Serialise(*child, *out);
        }
        *out += u"\r\n";
    }
    head = "\xFF\xFE";
    AppendLeBytes(head, before);
    tail.clear();
    AppendLeBytes(tail, after);
    return true;
}

void AppendXmlBytes(std::string& out, const CXmlNode& node)
{
    std::u16string text;
    Serialise(node, text);
    AppendLeBytes(out, text);
}

std::string Utf16LeBytes(const std::u16string& text)
{
    std::string out;
    AppendLeBytes(out, text);
    return out;
}

void AppendXmlTextElement(std::u16string& out, const std::u16string& name, const std::u16string& text)
{
    out += u'<';
    out += name;
    if (text.empty()) {
        out += u"/>";
        return;
    }
    out += u'>';
    AppendEscaped(out, text, false);
    out += u"</";
    out += name;
    out += u'>';
}

void AppendUtf16LeBytes(std::string& out, const std::u16string& text) { AppendLeBytes(out, text); }
