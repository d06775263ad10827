#include "app/history/SmartTypesSerializer.h"

#include <cstdlib>

namespace {

const char kRootName[] = "SmartTypes";
const char kEntryName[] = "Record";
// Creation order of a new file, and the kind of each.
const char* const kSectionNames[kSmartTypeKinds] = {"RecentlyAdded", "RecentlyViewed", "RecentlyModified",
                                                    "MostViewed"};
const int kSectionKinds[kSmartTypeKinds] = {kSmartRecentlyAdded, kSmartRecentlyViewed, kSmartRecentlyModified,
                                            kSmartMostViewed};

}  // namespace

CSmartTypesSerializer::CSmartTypesSerializer(const CString& path) { Open(path); }

CSmartTypesSerializer::~CSmartTypesSerializer() { SaveDocument(); }

void CSmartTypesSerializer::Open(const CString& path)
{
    for (auto& s : m_sections) s.reset();
    m_doc.OpenOrBeginDocument(path, kRootName);
    CXmlNodePtr ordered[kSmartTypeKinds];
    m_doc.EnsureSectionElement(kSectionNames, ordered, kSmartTypeKinds);
    for (int i = 0; i < kSmartTypeKinds; ++i) m_sections[kSectionKinds[i]] = ordered[i];
}

CXmlNodePtr CSmartTypesSerializer::Section(int kind) const
{
    if (kind < 0 || kind >= kSmartTypeKinds || !m_doc.HasDocument() || !m_doc.GetRoot()) return nullptr;
    return m_sections[kind];
}

void CSmartTypesSerializer::GetIds(int kind, CDWordArray& ids) const
{
    const CXmlNodePtr section = Section(kind);
    if (!section) return;
    CStringArray texts;
    m_doc.ReadChildTexts(section, texts);
    for (INT_PTR i = 0; i < texts.GetSize(); ++i) {
        // Ids are 32 bits wide; a larger number saturates as a 32-bit
        // strtoul would.
        const unsigned long long value = std::strtoull(texts[i], nullptr, 0);
        ids.Add(value > 0xFFFFFFFFull ? 0xFFFFFFFFu : (DWORD)value);
    }
}

void CSmartTypesSerializer::AddId(int kind, DWORD id)
{
    const CXmlNodePtr section = Section(kind);
    if (!section) return;
    CString text;
    text.Format("%u", (unsigned)id);
    m_doc.AppendTextElement(section, kEntryName, text);
}

void CSmartTypesSerializer::ClearKind(int kind)
{
    if (const CXmlNodePtr section = Section(kind)) m_doc.RemoveAllChildren(section);
}

void CSmartTypesSerializer::Reopen(const CString& path)
{
    SaveDocument();
    Open(path);
}

int CSmartTypesSerializer::SaveDocument() { return m_doc.SaveDocument(); }
