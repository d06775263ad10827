#pragma once
// CWebLoginHandOver: the web logins the browser plug-in hands to the main
// view. The plug-in link exists from the view's construction, so a login can
// arrive (inside a modal loop of the start-up) before the first update has
// opened the database; such a login is held and handed on once the database
// is open, instead of opening the record editor over an empty database.
#include <vector>

#include "framework/CString.h"

struct WebLogin {
    CString title;
    CString address;
};

class CWebLoginHandOver {
public:
    // True when the login is to be acted on now; false when it was held.
    bool Offer(const CString& title, const CString& address);
    // The database is open: returns the held logins, oldest first, and acts
    // on every later one at once.
    std::vector<WebLogin> SetReady();
    bool IsReady() const { return m_ready; }

private:
    bool m_ready = false;
    std::vector<WebLogin> m_held;
};
