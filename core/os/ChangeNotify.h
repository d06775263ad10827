#pragma once
// Change notices: when the program adds, changes or deletes an item, the
// platform's listener window (a top-level window titled
// "ZorvikanListenerWindow") is told so by the posted registered message
// "WM_Zorvikan10_DatabaseNotify", but only while the platform reports the
// user active. The low word of wParam is the operation, the high word the
// item class, lParam the item id. Failures are silent; nothing waits.
#include <cstdint>

#include "framework/CList.h"
#include "framework/CObject.h"

class CUserItem;

// Operations. The receiving side also knows NOTIFY_RELOAD and NOTIFY_PING.
const int NOTIFY_RELOAD = 1;
const int NOTIFY_ADDED = 2;
const int NOTIFY_MODIFIED = 3;
const int NOTIFY_DELETED = 4;
const int NOTIFY_PING = 6;

// Item classes.
const int NOTIFY_ITEM_RECORD = 0;
const int NOTIFY_ITEM_TYPE = 1;
const int NOTIFY_ITEM_CATEGORY = 2;

const char kDatabaseNotifyMessageName[] = "WM_Zorvikan10_DatabaseNotify";
const char kListenerWindowTitle[] = "ZorvikanListenerWindow";

// (item class << 16) | (operation & 0xFFFF).
uint32_t MakeDatabaseNotifyWParam(int operation, int itemClass);

// Asks the platform manager whether the user is active (a missing library or
// export, or no user, counts as not active) and, when so, posts the notice
// to the listener window when there is one.
void PostDatabaseNotify(const CUserItem* user, int operation, int itemClass, int itemId);

// One notice collected during a longer operation; never stored.
class CNotifyObject : public CObject {
    DECLARE_DYNAMIC(CNotifyObject)
public:
    CNotifyObject(int operation, int itemClass, int itemId)
        : m_operation(operation), m_itemClass(itemClass), m_itemId(itemId)
    {}
    void Serialize(CArchive&) override {}

    int m_operation;
    int m_itemClass;
    int m_itemId;
};

// The notices of one operation, in order; owns them.
class CNotifyProviderList : public CObList {
public:
    CNotifyProviderList() : CObList(10) {}
    ~CNotifyProviderList() override;
    CNotifyProviderList(const CNotifyProviderList&) = delete;
    CNotifyProviderList& operator=(const CNotifyProviderList&) = delete;

    // Appends a new notice.
    void AddNotice(int operation, int itemClass, int itemId);
    // Posts every notice in order; the list keeps them.
    void PostAll(const CUserItem* user) const;
};

// The configuration's own poster of notices, once the user is found active:
// the windows build posts to the listener window; the host build has no
// windows and drops them. Tests put their own in place
// (SetDatabaseNotifyPoster, core/os/ProcessSeams.h).
void PostToListenerWindow(uint32_t wParam, int32_t lParam);
