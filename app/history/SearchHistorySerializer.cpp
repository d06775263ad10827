#include "app/history/SearchHistorySerializer.h"

namespace {

const char kRootName[] = "ZorvikanSearches";
const char* const kSectionNames[] = {"RecentSearches"};
const char kEntryName[] = "Search";

}  // namespace

CSearchHistorySerializer::CSearchHistorySerializer(CUserItem* user, UserFilePathFn pathOf)
    : m_pathOf(pathOf ? std::move(pathOf) : UserFilePathFn(DefaultSearchHistoryPath))
{
    Open(user);
}

CSearchHistorySerializer::~CSearchHistorySerializer() { SaveDocument(); }

void CSearchHistorySerializer::Open(CUserItem* user)
{
    m_section.reset();
    m_doc.OpenOrBeginDocument(m_pathOf(user), kRootName);
    m_doc.EnsureSectionElement(kSectionNames, &m_section, 1);
}

void CSearchHistorySerializer::Load(CStringArray& texts)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot() || !m_section) return;
    m_doc.ReadChildTexts(m_section, texts);
}

void CSearchHistorySerializer::Write(const CStringArray& texts)
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot() || !m_section) return;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i) m_doc.AppendTextElement(m_section, kEntryName, texts[i]);
}

void CSearchHistorySerializer::Clear()
{
    if (!m_doc.HasDocument() || !m_doc.GetRoot()) return;
    m_doc.RemoveAllChildren(m_section);
}

void CSearchHistorySerializer::SetUser(CUserItem* user)
{
    SaveDocument();
    Open(user);
}

int CSearchHistorySerializer::SaveDocument() { return m_doc.SaveDocument(); }
