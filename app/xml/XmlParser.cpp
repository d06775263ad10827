#include "app/xml/XmlParser.h"

#include <algorithm>

namespace {

const char16_t kNameText[] = u"#text";
const char16_t kNameComment[] = u"#comment";

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool IsNameStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c >= 0x80;
}

bool IsNameChar(char16_t c) { return IsNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.'; }

bool IsAllSpace(const std::u16string& s) { return std::all_of(s.begin(), s.end(), IsSpace); }

void AppendCodePoint(std::u16string& out, unsigned long cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += (char16_t)(0xD800 + (cp >> 10));
        out += (char16_t)(0xDC00 + (cp & 0x3FF));
    } else {
        out += (char16_t)cp;
    }
}

// Bytes to UTF-16 by the byte-order mark, else by the first character
// ('<' in UTF-16 has a zero byte), else as UTF-8.
bool DecodeBytes(const std::string& bytes, std::u16string& out)
{
    out.clear();
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    int utf16 = 0;  // 1 little-endian, 2 big-endian
    size_t pos = 0;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        utf16 = 1;
        pos = 2;
    } else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        utf16 = 2;
        pos = 2;
    } else if (n >= 2 && b[0] != 0 && b[1] == 0) {
        utf16 = 1;
    } else if (n >= 2 && b[0] == 0 && b[1] != 0) {
        utf16 = 2;
    } else if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        pos = 3;
    }
    if (utf16) {
        if ((n - pos) % 2) return false;
        out.reserve((n - pos) / 2);
        for (; pos < n; pos += 2)
            out += utf16 == 1 ? (char16_t)(b[pos] | (b[pos + 1] << 8)) : (char16_t)((b[pos] << 8) | b[pos + 1]);
        return true;
    }
    out.reserve(n);
    while (pos < n) {
        const unsigned char c = b[pos];
        unsigned long cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            extra = 3;
        } else {
            return false;
        }
        for (int i = 1; i <= extra; ++i) {
            if (pos + i >= n || (b[pos + i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b[pos + i] & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        AppendCodePoint(out, cp);
        pos += (size_t)extra + 1;
    }
    return true;
}

class Parser {
public:
    explicit Parser(std::u16string text) : m_s(std::move(text)) { NormaliseLineEnds(); }

    bool Parse(const CXmlNodePtr& document)
    {
        std::vector<CXmlNodePtr> open;  // open elements, innermost last
        bool haveRoot = false;
        while (m_pos < m_s.size()) {
            CXmlNode* parent = open.empty() ? document.get() : open.back().get();
            if (Starts(u"<?")) {
                CXmlNodePtr pi;
                if (!ParseProcessingInstruction(pi)) return false;
                FlushText();
                parent->AppendChild(pi);
            } else if (Starts(u"<!--")) {
                const size_t end = m_s.find(u"-->", m_pos + 4);
                if (end == std::u16string::npos) return false;
                FlushText();
                parent->AppendChild(std::make_shared<CXmlNode>(CXmlNode::kComment, kNameComment,
                                                               m_s.substr(m_pos + 4, end - m_pos - 4)));
                m_pos = end + 3;
            } else if (Starts(u"<![CDATA[")) {
                if (open.empty()) return false;
                const size_t end = m_s.find(u"]]>", m_pos + 9);
                if (end == std::u16string::npos) return false;
                AddText(*parent, m_s.substr(m_pos + 9, end - m_pos - 9), true);
                m_pos = end + 3;
            } else if (Starts(u"<!")) {
                return false;  // document types and entity declarations are not part of these files
            } else if (Starts(u"</")) {
                if (open.empty()) return false;
                m_pos += 2;
                std::u16string name;
                if (!ParseName(name) || name != open.back()->GetName()) return false;
                SkipSpace();
                if (!Take(u'>')) return false;
                FlushText();
                open.pop_back();
            } else if (Starts(u"<")) {
                if (open.empty() && haveRoot) return false;  // one root element only
                bool empty = false;
                CXmlNodePtr element;
                if (!ParseStartTag(element, empty)) return false;
                FlushText();
                parent->AppendChild(element);
                if (open.empty()) haveRoot = true;
                if (!empty) open.push_back(element);
            } else {
                std::u16string text;
                if (!ParseText(text)) return false;
                if (open.empty()) {
                    if (!IsAllSpace(text)) return false;
                } else {
                    AddText(*parent, text, false);
                }
            }
        }
        FlushText();
        return open.empty() && haveRoot;
    }

private:
    void NormaliseLineEnds()
    {
        std::u16string out;
        out.reserve(m_s.size());
        for (size_t i = 0; i < m_s.size(); ++i) {
            if (m_s[i] == u'\r') {
                out += u'\n';
                if (i + 1 < m_s.size() && m_s[i + 1] == u'\n') ++i;
            } else {
                out += m_s[i];
            }
        }
        m_s.swap(out);
    }

    bool Starts(const char16_t* prefix) const
    {
        return m_s.compare(m_pos, std::char_traits<char16_t>::length(prefix), prefix) == 0;
    }
    bool Take(char16_t c)
    {
        if (m_pos < m_s.size() && m_s[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void SkipSpace()
    {
        while (m_pos < m_s.size() && IsSpace(m_s[m_pos])) ++m_pos;
    }

    bool ParseName(std::u16string& name)
    {
        if (m_pos >= m_s.size() || !IsNameStart(m_s[m_pos])) return false;
        const size_t start = m_pos;
        while (m_pos < m_s.size() && IsNameChar(m_s[m_pos])) ++m_pos;
        name = m_s.substr(start, m_pos - start);
        return true;
    }

    bool ParseProcessingInstruction(CXmlNodePtr& node)
    {
        m_pos += 2;
        std::u16string target;
        if (!ParseName(target)) return false;
        const size_t end = m_s.find(u"?>", m_pos);
        if (end == std::u16string::npos) return false;
        if (m_pos < end && !IsSpace(m_s[m_pos])) return false;
        SkipSpace();
        std::u16string data = m_pos < end ? m_s.substr(m_pos, end - m_pos) : std::u16string();
        while (!data.empty() && IsSpace(data.back())) data.pop_back();
        node = std::make_shared<CXmlNode>(CXmlNode::kProcessingInstruction, target, data);
        m_pos = end + 2;
        return true;
    }

    // Reads a reference after '&' into out.
    bool ParseReference(std::u16string& out)
    {
        const size_t semi = m_s.find(u';', m_pos);
        if (semi == std::u16string::npos || semi - m_pos > 10) return false;
        const std::u16string ref = m_s.substr(m_pos, semi - m_pos);
        m_pos = semi + 1;
        if (ref == u"lt")
            out += u'<';
        else if (ref == u"gt")
            out += u'>';
        else if (ref == u"amp")
            out += u'&';
        else if (ref == u"quot")
            out += u'"';
        else if (ref == u"apos")
            out += u'\'';
        else if (ref.size() >= 2 && ref[0] == u'#') {
            const bool hex = ref[1] == u'x';
            size_t i = hex ? 2 : 1;
            if (i >= ref.size()) return false;
            unsigned long cp = 0;
            for (; i < ref.size(); ++i) {
                const char16_t c = ref[i];
                int digit;
                if (c >= u'0' && c <= u'9')
                    digit = c - u'0';
                else if (hex && c >= u'a' && c <= u'f')
                    digit = c - u'a' + 10;
                else if (hex && c >= u'A' && c <= u'F')
                    digit = c - u'A' + 10;
                else
                    return false;
                cp = cp * (hex ? 16 : 10) + (unsigned long)digit;
                if (cp > 0x10FFFF) return false;
            }
            if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            AppendCodePoint(out, cp);
        } else {
            return false;
        }
        return true;
    }

    bool ParseText(std::u16string& text)
    {
        while (m_pos < m_s.size() && m_s[m_pos] != u'<') {
            if (m_s[m_pos] == u'&') {
                ++m_pos;
                if (!ParseReference(text)) return false;
            } else {
                text += m_s[m_pos++];
            }
        }
        return true;
    }

    bool ParseStartTag(CXmlNodePtr& element, bool& empty)
    {
        ++m_pos;
        std::u16string name;
        if (!ParseName(name)) return false;
        element = std::make_shared<CXmlNode>(CXmlNode::kElement, name);
        for (;;) {
            const size_t before = m_pos;
            SkipSpace();
            if (Take(u'>')) return true;
            if (Starts(u"/>")) {
                m_pos += 2;
                empty = true;
                return true;
            }
            if (m_pos == before) return false;  // attributes are separated by white space
            std::u16string attrName, value;
            if (!ParseName(attrName)) return false;
            SkipSpace();
            if (!Take(u'=')) return false;
            SkipSpace();
            if (m_pos >= m_s.size() || (m_s[m_pos] != u'"' && m_s[m_pos] != u'\'')) return false;
            const char16_t quote = m_s[m_pos++];
            while (m_pos < m_s.size() && m_s[m_pos] != quote) {
                const char16_t c = m_s[m_pos];
                if (c == u'<') return false;
                if (c == u'&') {
                    ++m_pos;
                    if (!ParseReference(value)) return false;
                } else {
                    value += c;
                    ++m_pos;
                }
            }
            if (!Take(quote)) return false;
            element->Attributes().emplace_back(attrName, value);
        }
    }

    // Text between elements that is only white space is not kept; text next
    // to text (a CDATA section beside character data) joins one node. The
    // pieces gather here until another node follows, so that joining many
    // of them costs no more than reading them.
    void AddText(CXmlNode& parent, const std::u16string& text, bool cdata)
    {
        if (text.empty() || (!cdata && IsAllSpace(text))) return;
        if (m_textParent != &parent) FlushText();
        m_textParent = &parent;
        m_text += text;
    }

    void FlushText()
    {
        if (m_textParent && !m_text.empty())
            m_textParent->AppendChild(std::make_shared<CXmlNode>(CXmlNode::kText, kNameText, m_text));
        m_textParent = nullptr;
        m_text.clear();
    }

    std::u16string m_s;
    size_t m_pos = 0;
    CXmlNode* m_textParent = nullptr;  // where the gathered text goes
    std::u16string m_text;
};

}  // namespace

bool ParseXmlBytes(const std::string& bytes, const CXmlNodePtr& document)
{
    std::u16string text;
    if (!DecodeBytes(bytes, text)) return false;
    Parser parser(std::move(text));
    return parser.Parse(document);
}
