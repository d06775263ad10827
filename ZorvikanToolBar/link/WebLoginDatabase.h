#pragma once
// CWebLoginDatabase: the plug-in's copy of the current user's database,
// read whole from the desktop program's file. The plug-in only reads: the
// file is opened read-only, so a missing file is not created, an older
// version is not upgraded and nothing is ever written under the desktop
// program's feet.
#include "core/items/BaseItem.h"
#include "core/store/DatabaseObj.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CRecord;

class CWebLoginDatabase {
public:
    CWebLoginDatabase();

    // An empty path: false, nothing changed. Otherwise the database is
    // emptied and read again from the file (under the master key as it is
    // now) and the "Web Logins" type looked up; true. A file that cannot be
    // read leaves the database empty; LastLoadResult tells why.
    bool Load(const CString& path);
    bool IsLoaded() const { return m_loaded; }
    int LastLoadResult() const { return m_lastResult; }
    const CDatabaseObj& Database() const { return m_db; }
    // The database's "Web Logins" type, or null when it has none.
    const CBaseItem* WebLoginsType() const { return m_webLogins; }

    // Appends to list (not owning) each record of the "Web Logins" type that
    // is not deleted and whose description or notes contain text, without
    // regard to case, in database order; every one for an empty text. A
    // database without that type has no web logins.
    void CollectWebLogins(CObList& list, const CString& text) const;
    // The web login with that uid as CollectWebLogins would list it, or null.
    const CRecord* FindWebLogin(const uint8_t uid[kUniqueKeySize]) const;

private:
    bool m_loaded = false;
    int m_lastResult = 0;
    CDatabaseObj m_db;
    const CBaseItem* m_webLogins = nullptr;
};
