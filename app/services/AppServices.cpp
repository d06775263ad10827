#include "app/services/AppServices.h"

#include "app/history/LogEvents.h"
#include "core/items/Record.h"
#include "core/users/UserItem.h"

CAppServices::CAppServices(CurrentUserFn currentUser, UserFilePathFn smartTypesPath, UserFilePathFn searchHistoryPath)
    : m_currentUser(std::move(currentUser)), m_smartTypesPath(std::move(smartTypesPath)),
      m_searchHistoryPath(std::move(searchHistoryPath))
{}

CAppServices::~CAppServices() { ReleaseHistories(); }

CSmartTypesMgr& CAppServices::SmartTypes()
{
    if (!m_smartTypes) m_smartTypes = CreateSmartTypesMgr(m_currentUser ? m_currentUser() : nullptr);
    return *m_smartTypes;
}

CSearchHistoryMgr& CAppServices::SearchHistory()
{
    if (!m_searchHistory) m_searchHistory = CreateSearchHistoryMgr(m_currentUser ? m_currentUser() : nullptr);
    return *m_searchHistory;
}

std::shared_ptr<CSmartTypesMgr> CAppServices::CreateSmartTypesMgr(CUserItem* user)
{
    return std::make_shared<CSmartTypesMgr>(user, m_smartTypesPath);
}

std::shared_ptr<CSearchHistoryMgr> CAppServices::CreateSearchHistoryMgr(CUserItem* user)
{
    return std::make_shared<CSearchHistoryMgr>(user, m_searchHistoryPath);
}

void CAppServices::LogRecordEvent(CRecord* record, const char* name, const char* action)
{
    // The first field as stored, never masked.
    const CString field = record->GetFieldDisplayText(0, false);
    CUserItem* user = m_currentUser ? m_currentUser() : nullptr;
    auto param = std::make_shared<CLogEventParam>(1);
    param->SetName(name).SetAction(action).SetDescription(field).SetNewValue(field);
    param->SetUserName(user ? user->GetDisplayName() : CString());
    CLogEvents::GetInstance()->Add(std::make_shared<CLogEvent>(param));
}

void CAppServices::OnRecordViewed(CRecord* record)
{
    if (!record) return;
    // The most-viewed list compares the new count.
    record->SetViewCount(record->GetViewCount() + 1);
    SmartTypes().OnRecordViewed(record);
}

void CAppServices::OnRecordAdded(CRecord* record)
{
    if (!record) return;
    LogRecordEvent(record, "Add record", "Record added");
    SmartTypes().OnRecordAdded(record);
}

void CAppServices::OnRecordEdited(CRecord* record)
{
    if (!record) return;
    LogRecordEvent(record, "Edit record ", "Record edited");
    SmartTypes().OnRecordEdited(record);
}

void CAppServices::OnRecordDeleted(CRecord* record)
{
    if (!record) return;
    LogRecordEvent(record, "Delete record", "Record deleted");
    SmartTypes().OnRecordDeleted(record);
}

void CAppServices::GetRecentlyAdded(const CRecordList& records, CRecordPtrArray& out)
{
    SmartTypes().GetRecentlyAdded(records, out);
}

void CAppServices::GetRecentlyViewed(const CRecordList& records, CRecordPtrArray& out)
{
    SmartTypes().GetRecentlyViewed(records, out);
}

void CAppServices::GetMostViewed(const CRecordList& records, CRecordPtrArray& out)
{
    SmartTypes().GetMostViewed(records, out);
}

void CAppServices::GetRecentSearches(CStringArray& texts) { SearchHistory().GetAll(texts); }

void CAppServices::AddRecentSearch(const CString& text) { SearchHistory().Add(text); }

void CAppServices::ClearRecentSearches(bool clear) { SearchHistory().Clear(clear); }

void CAppServices::SwitchHistoriesUser(CUserItem* user, bool onlyIfOther)
{
    if (m_smartTypes) m_smartTypes->SetUser(user, onlyIfOther);
    if (m_searchHistory) m_searchHistory->SetUser(user);
}

void CAppServices::ReleaseHistories()
{
    m_smartTypes.reset();
    m_searchHistory.reset();
}
