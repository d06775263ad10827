#include "app/xml/XmlFileDocument.h"

#include "core/os/FileSystemOs.h"
#include "core/store/ReplacingFile.h"
#include "framework/CException.h"
#include "framework/CFile.h"

namespace {

const char kDeclarationData[] = "version='1.0' encoding='utf-16'";

// The whole file: 0, -1 when it cannot be read, or kErrorFileTooLarge.
int ReadWholeFile(const CString& path, std::string& bytes)
{
    bytes.clear();
    if (path.IsEmpty()) return -1;
    CFile file;
    if (!file.Open(zvos::NativePath(path.Std()).c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        return -1;
    try {
        if (file.GetLength() > CXmlFileDocument::kMaxFileBytes) return CXmlFileDocument::kErrorFileTooLarge;
        char buffer[65536];
        for (;;) {
            const UINT n = file.Read(buffer, sizeof buffer);
            if (n == 0) break;
            bytes.append(buffer, n);
        }
    } catch (const CFileException&) {
        bytes.clear();
        return -1;
    }
    return 0;
}

}  // namespace

std::u16string XmlName(const char* name)
{
    std::u16string out;
    for (; name && *name; ++name) out += (char16_t)(unsigned char)*name;
    return out;
}

CString XmlText(const std::u16string& text) { return ZvAnsiFromUtf16(text); }

CXmlFileDocument::CXmlFileDocument() : m_document(std::make_shared<CXmlDocument>()) {}

void CXmlFileDocument::ReleaseDocument()
{
    m_root.reset();
    m_document.reset();
}

int CXmlFileDocument::OpenDocument(const CString& path)
{
    m_path = path;
    m_openError = 0;
    if (!m_document) return 0;
    std::string bytes;
    const int read = ReadWholeFile(path, bytes);
    if (read == kErrorFileTooLarge) m_openError = read;
    if (read != 0 || !m_document->LoadBytes(bytes)) return 0;
    const auto& top = m_document->GetDocumentNode()->GetChildren();
    if (top.size() < 2) return 0;
    m_root = top[1];
    return 1;
}

int CXmlFileDocument::BeginDocument(const char* rootName)
{
    if (!m_document) return 0;
    const CXmlNodePtr& doc = m_document->GetDocumentNode();
    doc->RemoveAllChildren();
    m_root.reset();
    if (!doc->AppendChild(m_document->CreateProcessingInstruction(u"xml", XmlName(kDeclarationData)))) return 0;
    CXmlNodePtr root = m_document->CreateElement(XmlName(rootName));
    if (!doc->AppendChild(root)) return 0;
    m_root = root;
    return 1;
}

void CXmlFileDocument::OpenOrBeginDocument(const CString& path, const char* rootName)
{
    m_root.reset();
    if (!OpenDocument(path)) BeginDocument(rootName);
}

int CXmlFileDocument::SaveDocument()
{
    if (!m_document) return -1;
    const std::string bytes = m_document->SaveBytes();
    const std::string* const parts[] = {&bytes};
    return WriteFile(parts, 1);
}

int CXmlFileDocument::SaveDocument(const std::vector<const std::string*>& rootChildParts)
{
    if (!m_document) return -1;
    size_t bytes = 0;
    for (const std::string* part : rootChildParts) bytes += part->size();
    std::string head, tail;
    if (!m_root || bytes == 0 || !m_document->SaveBytesAround(*m_root, head, tail, true)) return SaveDocument();
    std::vector<const std::string*> parts;
    parts.reserve(rootChildParts.size() + 2);
    parts.push_back(&head);
    parts.insert(parts.end(), rootChildParts.begin(), rootChildParts.end());
    parts.push_back(&tail);
    return WriteFile(parts.data(), (int)parts.size());
}

int CXmlFileDocument::WriteFile(const std::string* const parts[], int count) const
{
    if (m_path.IsEmpty()) return -1;
    // A file too large to be read was never read: it stays as it is. Nor is
    // a file written that could not be read back.
    uint64_t size = 0;
    for (int i = 0; i < count; ++i) size += parts[i]->size();
    if (m_openError == kErrorFileTooLarge || size > kMaxFileBytes) return kErrorFileTooLarge;
    // A temporary file takes the file's place only once it is complete, so a
    // crash or a full disk never leaves the file cut short.
    CReplacingFile out(m_path);
    if (const int result = out.Open()) return result;
    try {
        for (int i = 0; i < count; ++i) out.GetFile().Write(parts[i]->data(), (UINT)parts[i]->size());
    } catch (const CFileException& e) {
        return e.m_lOsError > 0 ? (int)e.m_lOsError : -1;
    }
    return out.Commit();
}

CXmlNodePtr CXmlFileDocument::MakeElement(const char* name) const
{
    if (!m_document || !name || !*name) return nullptr;
    return m_document->CreateElement(XmlName(name));
}

CXmlNodePtr CXmlFileDocument::AppendChildElement(const CXmlNodePtr& parent, const char* name) const
{
    CXmlNodePtr element = MakeElement(name);
    if (element && parent) parent->AppendChild(element);
    return element;
}

void CXmlFileDocument::AppendTextElement(const CXmlNodePtr& parent, const char* name, const CString& text) const
{
    if (!name || !*name || text.IsEmpty() || !m_document || !parent) return;
    CXmlNodePtr element = m_document->CreateElement(XmlName(name));
    element->SetText(ZvUtf16FromAnsi(text));
    parent->AppendChild(element);
}

void CXmlFileDocument::RemoveAllChildren(const CXmlNodePtr& element) const
{
    if (element) element->RemoveAllChildren();
}

void CXmlFileDocument::FindSectionElement(const char* const names[], CXmlNodePtr sections[], int count) const
{
    if (!m_root) return;
    for (const CXmlNodePtr& child : m_root->GetChildren()) {
        if (child->GetType() != CXmlNode::kElement) continue;
        for (int i = 0; i < count; ++i)
            if (child->GetName() == XmlName(names[i])) sections[i] = child;
    }
}

void CXmlFileDocument::EnsureSectionElement(const char* const names[], CXmlNodePtr sections[], int count) const
{
    FindSectionElement(names, sections, count);
    if (!m_root) return;
    for (int i = 0; i < count; ++i) {
        if (sections[i]) continue;
        sections[i] = MakeElement(names[i]);
        if (sections[i]) m_root->AppendChild(sections[i]);
    }
}

void CXmlFileDocument::ReadChildTexts(const CXmlNodePtr& section, CStringArray& texts) const
{
    if (!section) return;
    // Entries are elements; an empty one stands for nothing.
    for (const CXmlNodePtr& child : section->GetChildren()) {
        if (child->GetType() != CXmlNode::kElement) continue;
        const std::u16string text = child->GetText();
        if (!text.empty()) texts.Add(XmlText(text));
    }
}

void AppendTextElementBytes(std::string& out, const char* name, const CString& text)
{
    if (!name || !*name || text.IsEmpty()) return;
    const char* chars = text.GetString();
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        if ((unsigned char)chars[i] >= 0x80) {
            // Beyond ASCII the code page decides; the document's own way.
            std::u16string element;
            AppendXmlTextElement(element, XmlName(name), ZvUtf16FromAnsi(text));
            AppendUtf16LeBytes(out, element);
            return;
        }
    }
    // ASCII is its own UTF-16: each character and a zero byte.
    auto put = [&out](char c) {
        out += c;
        out += '\0';
    };
    auto putAll = [&put](const char* s) {
        while (*s) put(*s++);
    };
    put('<');
    putAll(name);
    put('>');
    for (int i = 0; i < length; ++i) {
        switch (chars[i]) {
        case '&': putAll("&amp;"); break;
        case '<': putAll("&lt;"); break;
        case '>': putAll("&gt;"); break;
        case '\r': putAll("&#13;"); break;
        default: put(chars[i]);
        }
    }
    putAll("</");
    putAll(name);
    put('>');
}
