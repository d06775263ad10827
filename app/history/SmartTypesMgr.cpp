#include "app/history/SmartTypesMgr.h"

namespace {

UserFilePathFn OrDefault(UserFilePathFn pathOf) { return pathOf ? pathOf : UserFilePathFn(DefaultSmartTypesPath); }

}  // namespace

CSmartTypesMgr::CSmartTypesMgr(CUserItem* user, UserFilePathFn pathOf)
    : m_user(user), m_pathOf(OrDefault(std::move(pathOf))), m_serializer(m_pathOf(user)),
      m_recentlyAdded(kSmartRecentlyAdded, &m_serializer), m_recentlyViewed(kSmartRecentlyViewed, &m_serializer),
      m_recentlyModified(kSmartRecentlyModified, &m_serializer), m_mostViewed(&m_serializer)
{}

CSmartTypesMgr::~CSmartTypesMgr() = default;

void CSmartTypesMgr::OnRecordAdded(CRecord* record)
{
    if (!record) return;
    m_recentlyAdded.Add(record);
    m_recentlyModified.Add(record);
}

void CSmartTypesMgr::OnRecordEdited(CRecord* record)
{
    if (!record) return;
    m_recentlyModified.Add(record);
}

void CSmartTypesMgr::OnRecordViewed(CRecord* record)
{
    if (!record) return;
    m_recentlyViewed.Add(record);
    m_mostViewed.Add(record);
}

void CSmartTypesMgr::OnRecordDeleted(CRecord* record)
{
    m_recentlyAdded.Remove(record);
    m_recentlyModified.Remove(record);
    m_recentlyViewed.Remove(record);
    m_mostViewed.Remove(record);
}

void CSmartTypesMgr::GetRecentlyAdded(const CRecordList& records, CRecordPtrArray& out)
{
    m_recentlyAdded.GetRecords(records, out);
}

void CSmartTypesMgr::GetRecentlyViewed(const CRecordList& records, CRecordPtrArray& out)
{
    m_recentlyViewed.GetRecords(records, out);
}

void CSmartTypesMgr::GetMostViewed(const CRecordList& records, CRecordPtrArray& out)
{
    m_mostViewed.GetRecords(records, out);
}

void CSmartTypesMgr::SetUser(CUserItem* user, bool onlyIfOther)
{
    if (!user || (onlyIfOther && user == m_user)) return;
    m_user = user;
    m_recentlyAdded.Reset();
    m_recentlyModified.Reset();
    m_recentlyViewed.Reset();
    m_mostViewed.Reset();
    m_serializer.Reopen(m_pathOf(user));
}

CSmartType& CSmartTypesMgr::GetList(int kind)
{
    switch (kind) {
    case kSmartRecentlyAdded: return m_recentlyAdded;
    case kSmartRecentlyModified: return m_recentlyModified;
    case kSmartRecentlyViewed: return m_recentlyViewed;
    default: return m_mostViewed;
    }
}
