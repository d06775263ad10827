#include "app/history/SearchHistoryMgr.h"

CSearchHistoryMgr::CSearchHistoryMgr(CUserItem* user, UserFilePathFn pathOf)
    : m_user(user), m_serializer(user, std::move(pathOf))
{}

CSearchHistoryMgr::~CSearchHistoryMgr() { Save(); }

void CSearchHistoryMgr::Add(const CString& text)
{
    for (INT_PTR i = 0; i < m_texts.GetSize(); ++i) {
        if (m_texts[i].Compare(text) == 0) {
            m_texts.RemoveAt(i);
            m_texts.Add(text);
            return;
        }
    }
    // A file may have held any number of texts: the oldest go in one step.
    if (m_texts.GetSize() >= kCapacity) m_texts.RemoveAt(0, m_texts.GetSize() - kCapacity + 1);
    m_texts.Add(text);
}

void CSearchHistoryMgr::GetAll(CStringArray& texts)
{
    EnsureLoaded();
    texts.RemoveAll();
    for (INT_PTR i = 0; i < m_texts.GetSize(); ++i) texts.Add(m_texts[i]);
}

void CSearchHistoryMgr::Save()
{
    if (m_loaded) m_serializer.Clear();
    m_serializer.Write(m_texts);
}

void CSearchHistoryMgr::SetUser(CUserItem* user)
{
    Save();
    if (!user) return;
    m_serializer.SetUser(user);
    m_user = user;
    Reset();
}

void CSearchHistoryMgr::Clear(bool clear)
{
    if (!clear) return;
    // The document's entries go even when the list was never read: the user
    // asked for an empty history, and the list now says what the file holds.
    m_serializer.Clear();
    m_texts.RemoveAll();
    m_loaded = 1;
}

void CSearchHistoryMgr::EnsureLoaded()
{
    if (m_loaded) return;
    m_serializer.Load(m_texts);
    m_loaded = 1;
}

void CSearchHistoryMgr::Reset()
{
    m_loaded = 0;
    m_texts.RemoveAll();
}
