#pragma once
// CArray: growable array over std::vector, and its instances CStringArray,
// CPtrArray, CByteArray, CWordArray, CDWordArray and CUIntArray. An index
// outside the array throws CInvalidArgException (never reads out of bounds).

#include <vector>

#include "framework/CException.h"
#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CArchive;

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    INT_PTR GetSize() const { return (INT_PTR)m_v.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_v.size(); }
    bool IsEmpty() const { return m_v.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // New elements are value-initialised; the grow-by hint is not needed.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize < 0) AfxThrowInvalidArgException();
        m_v.resize((size_t)nNewSize);
    }
    void FreeExtra() { m_v.shrink_to_fit(); }
    void RemoveAll() { m_v.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_v[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_v[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_v[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_v[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_v[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return m_v.data(); }
    TYPE* GetData() { return m_v.data(); }

    // Grows the array to reach nIndex when needed.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0) AfxThrowInvalidArgException();
        if ((size_t)nIndex >= m_v.size()) m_v.resize((size_t)nIndex + 1);
        m_v[(size_t)nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_v.push_back(newElement);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR at = GetSize();
        m_v.insert(m_v.end(), src.m_v.begin(), src.m_v.end());
        return at;
    }
    void Copy(const CArray& src)
    {
        if (&src != this) m_v = src.m_v;
    }
    // nIndex may be the size (appends) or beyond (the gap is filled).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
        if ((size_t)nIndex > m_v.size()) m_v.resize((size_t)nIndex);
        m_v.insert(m_v.begin() + nIndex, (size_t)nCount, newElement);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || (size_t)nIndex + (size_t)nCount > m_v.size()) AfxThrowInvalidArgException();
        m_v.erase(m_v.begin() + nIndex, m_v.begin() + nIndex + nCount);
    }

    // For code that works with the standard library.
    std::vector<TYPE>& Std() { return m_v; }
    const std::vector<TYPE>& Std() const { return m_v; }

private:
    size_t Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || (size_t)nIndex >= m_v.size()) AfxThrowInvalidArgException();
        return (size_t)nIndex;
    }

    std::vector<TYPE> m_v;
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    using CArray::Add;
    INT_PTR Add(const char* psz) { return CArray::Add(CString(psz)); }
    // A count, then each string.
    void Serialize(CArchive& ar) override;
};

class CPtrArray : public CArray<void*, void*> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CWordArray : public CArray<WORD, WORD> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};
