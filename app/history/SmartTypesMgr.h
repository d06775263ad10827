#pragma once
// CSmartTypesMgr: the current user's four smart lists and their file. The
// lists point into the view's database: after the database is reloaded or
// its records are freed, SetUser(user, false) must empty them.
#include "app/history/SmartType.h"
#include "app/services/UserFilePaths.h"

class CUserItem;

class CSmartTypesMgr {
public:
    explicit CSmartTypesMgr(CUserItem* user, UserFilePathFn pathOf = UserFilePathFn());
    // The lists, then the serializer, which writes the file.
    virtual ~CSmartTypesMgr();

    void OnRecordAdded(CRecord* record);
    void OnRecordEdited(CRecord* record);
    void OnRecordViewed(CRecord* record);
    void OnRecordDeleted(CRecord* record);

    void GetRecentlyAdded(const CRecordList& records, CRecordPtrArray& out);
    void GetRecentlyViewed(const CRecordList& records, CRecordPtrArray& out);
    void GetMostViewed(const CRecordList& records, CRecordPtrArray& out);

    // Nothing for a null user, or for the own user when onlyIfOther is set;
    // otherwise the lists are emptied and the file of that user is opened
    // (after the old one was written).
    void SetUser(CUserItem* user, bool onlyIfOther);

    CUserItem* GetUser() const { return m_user; }
    CSmartType& GetList(int kind);

private:
    CUserItem* m_user;
    UserFilePathFn m_pathOf;
    CSmartTypesSerializer m_serializer;
    CSmartType m_recentlyAdded;
    CSmartType m_recentlyViewed;
    CSmartType m_recentlyModified;
    CMostViewed m_mostViewed;
};
