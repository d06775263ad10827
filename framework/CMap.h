#pragma once
// CMap: associative container with POSITION iteration (in key order), over
// std::map; and CMapPtrToPtr.

#include <map>

#include "framework/CException.h"
#include "framework/CObject.h"
#include "framework/ZvTypes.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
public:
    // The hash block size of the classic map is accepted and not needed.
    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }

    INT_PTR GetCount() const { return (INT_PTR)m_map.size(); }
    INT_PTR GetSize() const { return (INT_PTR)m_map.size(); }
    bool IsEmpty() const { return m_map.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        auto it = m_map.find(key);
        if (it == m_map.end()) return FALSE;
        rValue = it->second;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key) { return m_map[key]; }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { m_map[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key) { return m_map.erase(key) ? TRUE : FALSE; }
    void RemoveAll() { m_map.clear(); }

    // Iteration: pos = GetStartPosition(); while (pos) GetNextAssoc(pos, k, v);
    // Removing the entry just returned is allowed; other changes end the walk.
    POSITION GetStartPosition() const { return m_map.empty() ? nullptr : Pos(&*m_map.begin()); }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        if (!rNextPosition || rNextPosition == BEFORE_START_POSITION) AfxThrowInvalidArgException();
        const Entry* e = reinterpret_cast<const Entry*>(rNextPosition);
        auto it = m_map.find(e->first);
        if (it == m_map.end() || &*it != e) AfxThrowInvalidArgException();
        rKey = it->first;
        rValue = it->second;
        ++it;
        rNextPosition = it == m_map.end() ? nullptr : Pos(&*it);
    }

private:
    using Entry = typename std::map<KEY, VALUE>::value_type;
    static POSITION Pos(const Entry* e) { return reinterpret_cast<POSITION>(const_cast<Entry*>(e)); }

    std::map<KEY, VALUE> m_map;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
