#include "app/xml/XmlDocument.h"

#include <algorithm>

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
                out += u"<!--" + n.GetValue() + u"-->";
                stack.pop_back();
                continue;
            case CXmlNode::kProcessingInstruction:
                out += u"<?" + n.GetName();
                if (!n.GetValue().empty()) out += u" " + n.GetValue();
                out += u"?>";
                stack.pop_back();
                continue;
            default: break;
            }
            out += u"<" + n.GetName();
            for (const auto& a : n.Attributes()) {
                out += u" " + a.first + u"=\"";
                AppendEscaped(out, a.second, true);
                out += u"\"";
            }
            if (n.GetChildren().empty()) {
                out += u"/>";
                stack.pop_back();
                continue;
            }
            out += u">";
        }
        if (f.next < n.GetChildren().size()) {
            const CXmlNode* child = n.GetChildren()[f.next++].get();
            stack.push_back({child, 0});
            continue;
        }
        out += u"</" + n.GetName() + u">";
        stack.pop_back();
    }
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
    return "\xFF\xFE" + Utf16LeBytes(text);
}

std::string Utf16LeBytes(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += (char)(c & 0xFF);
        out += (char)(c >> 8);
    }
    return out;
}
