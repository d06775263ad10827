#pragma once
// The key items are packed and unpacked with while one database file is read
// or written. The master password manager's context is process-wide and other
// threads (the merge, the Wi-Fi sync) put another file's key in place while
// they run; a load or save that opened a scope uses its own key whatever the
// manager holds meanwhile. Scopes belong to the thread that opened them and
// nest; the innermost one counts.
#include "core/Blowfish.h"

class CPackingKeyScope {
public:
    // key may be null: items are then packed and read in plain.
    explicit CPackingKeyScope(const BlowfishContext* key);
    ~CPackingKeyScope();
    CPackingKeyScope(const CPackingKeyScope&) = delete;
    CPackingKeyScope& operator=(const CPackingKeyScope&) = delete;

private:
    const CPackingKeyScope* m_outer;
    const BlowfishContext* m_key;

    friend bool PackingKeyScopeActive();
    friend const BlowfishContext* ScopedPackingKey();
};

// Whether the calling thread has a scope open.
bool PackingKeyScopeActive();
// The key of the calling thread's innermost scope; null without one.
const BlowfishContext* ScopedPackingKey();
