#pragma once
// The typed prefix of the owner-drawn lists' type-ahead search, one for all
// lists of the process: a pause longer than twice the double-click time
// starts a new prefix.
#include <cstdint>
#include <memory>

#include "framework/CString.h"

class CTypeAhead {
public:
    // Adds the character typed at tick now (milliseconds) and returns the
    // prefix to search for.
    const CString& Type(char ch, uint32_t now, uint32_t doubleClickTime);
    const CString& GetPrefix() const { return m_prefix; }
    void Reset() { m_prefix.Empty(); }

    // True when text is not empty and begins with prefix, ignoring case.
    static bool Matches(const CString& text, const CString& prefix);

    static std::shared_ptr<CTypeAhead> GetInstance();
    // Tests put a fresh one in place; returns the one replaced.
    static std::shared_ptr<CTypeAhead> ReplaceInstance(std::shared_ptr<CTypeAhead> instance);

private:
    CString m_prefix;
    uint32_t m_lastTick = 0;
    bool m_typed = false;
};
