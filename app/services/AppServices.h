#pragma once
// CAppServices: the application's services that do not belong to one window:
// the hooks through which the record commands report what happened to a
// record (event log and smart lists), the smart lists and recent searches of
// the current user, and moving them to another user. The application object
// holds one and forwards to it. GUI thread only.
#include <functional>
#include <memory>

#include "app/history/SearchHistoryMgr.h"
#include "app/history/SmartTypesMgr.h"
#include "app/services/UserFilePaths.h"

class CRecord;
class CRecordList;
class CUserItem;

class CAppServices {
public:
    typedef std::function<CUserItem*()> CurrentUserFn;

    // currentUser tells who the current user is at each call; the path
    // functions (tests) default to the preference manager's folders.
    explicit CAppServices(CurrentUserFn currentUser, UserFilePathFn smartTypesPath = UserFilePathFn(),
                          UserFilePathFn searchHistoryPath = UserFilePathFn());
    // Releases the managers (which write their files).
    virtual ~CAppServices();
    CAppServices(const CAppServices&) = delete;
    CAppServices& operator=(const CAppServices&) = delete;

    // Record hooks, called after the record changed in memory. Viewing raises
    // the record's view count first and logs nothing; the others log "Add
    // record"/"Record added", "Edit record "/"Record edited" and "Delete
    // record"/"Record deleted" with the record's first field (unmasked).
    void OnRecordViewed(CRecord* record);
    void OnRecordAdded(CRecord* record);
    void OnRecordEdited(CRecord* record);
    void OnRecordDeleted(CRecord* record);

    // The smart lists, built against the view's records.
    void GetRecentlyAdded(const CRecordList& records, CRecordPtrArray& out);
    void GetRecentlyViewed(const CRecordList& records, CRecordPtrArray& out);
    void GetMostViewed(const CRecordList& records, CRecordPtrArray& out);

    // Recent searches, oldest first.
    void GetRecentSearches(CStringArray& texts);
    void AddRecentSearch(const CString& text);
    void ClearRecentSearches(bool clear);

    // Moves the managers that exist to the user (none is created here). With
    // onlyIfOther false the smart lists are emptied even for the same user:
    // after the database is reloaded their records are gone.
    void SwitchHistoriesUser(CUserItem* user, bool onlyIfOther);
    // Drops both managers; each writes its file as it goes.
    void ReleaseHistories();

    std::shared_ptr<CSmartTypesMgr> CreateSmartTypesMgr(CUserItem* user);
    std::shared_ptr<CSearchHistoryMgr> CreateSearchHistoryMgr(CUserItem* user);

    // The managers as they are (empty before first use).
    const std::shared_ptr<CSmartTypesMgr>& GetSmartTypesMgr() const { return m_smartTypes; }
    const std::shared_ptr<CSearchHistoryMgr>& GetSearchHistoryMgr() const { return m_searchHistory; }

private:
    CSmartTypesMgr& SmartTypes();
    CSearchHistoryMgr& SearchHistory();
    void LogRecordEvent(CRecord* record, const char* name, const char* action);

    CurrentUserFn m_currentUser;
    UserFilePathFn m_smartTypesPath;
    UserFilePathFn m_searchHistoryPath;
    std::shared_ptr<CSmartTypesMgr> m_smartTypes;
    std::shared_ptr<CSearchHistoryMgr> m_searchHistory;
};
