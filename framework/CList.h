#pragma once
// CList: doubly linked list addressed by POSITION (stable while the element
// lives), and its instances CObList (object pointers; does not own them),
// CPtrList and CStringList. A bad position or an empty-list access throws
// CInvalidArgException instead of reading freed memory.

#include <cstddef>

#include "framework/CException.h"
#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CArchive;

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
    struct Node {
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };

public:
    // The block size of the classic list is accepted and not needed.
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NodeOf(Head())->data; }
    const TYPE& GetHead() const { return NodeOf(Head())->data; }
    TYPE& GetTail() { return NodeOf(Tail())->data; }
    const TYPE& GetTail() const { return NodeOf(Tail())->data; }

    TYPE RemoveHead()
    {
        Node* p = NodeOf(Head());
        TYPE v = p->data;
        Unlink(p);
        return v;
    }
    TYPE RemoveTail()
    {
        Node* p = NodeOf(Tail());
        TYPE v = p->data;
        Unlink(p);
        return v;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void AddHead(const CList* pNewList)
    {
        for (POSITION pos = pNewList->GetTailPosition(); pos;) AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(const CList* pNewList)
    {
        for (POSITION pos = pNewList->GetHeadPosition(); pos;) AddTail(pNewList->GetNext(pos));
    }

    void RemoveAll()
    {
        Node* p = m_pHead;
        while (p) {
            Node* next = p->pNext;
            delete p;
            p = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return Pos(m_pHead); }
    POSITION GetTailPosition() const { return Pos(m_pTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        Node* p = NodeOf(rPosition);
        rPosition = Pos(p->pNext);
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        Node* p = NodeOf(rPosition);
        rPosition = Pos(p->pNext);
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        Node* p = NodeOf(rPosition);
        rPosition = Pos(p->pPrev);
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        Node* p = NodeOf(rPosition);
        rPosition = Pos(p->pPrev);
        return p->data;
    }
    TYPE& GetAt(POSITION position) { return NodeOf(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeOf(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NodeOf(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(NodeOf(position)); }

    // A null position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        Node* next = position ? NodeOf(position) : m_pHead;
        Node* n = new Node{next, next ? next->pPrev : m_pTail, newElement};
        if (!next) {
            // Empty list.
            m_pHead = m_pTail = n;
        } else {
            if (next->pPrev)
                next->pPrev->pNext = n;
            else
                m_pHead = n;
            next->pPrev = n;
        }
        ++m_nCount;
        return Pos(n);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        Node* prev = position ? NodeOf(position) : m_pTail;
        Node* n = new Node{prev ? prev->pNext : nullptr, prev, newElement};
        if (!prev) {
            m_pHead = m_pTail = n;
        } else {
            if (prev->pNext)
                prev->pNext->pPrev = n;
            else
                m_pTail = n;
            prev->pNext = n;
        }
        ++m_nCount;
        return Pos(n);
    }

    // Position of the first element equal to searchValue after startAfter
    // (from the head when null), or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        Node* p = startAfter ? NodeOf(startAfter)->pNext : m_pHead;
        for (; p; p = p->pNext)
            if (p->data == searchValue) return Pos(p);
        return nullptr;
    }
    // Position of the element with that zero-based index, or null.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        Node* p = m_pHead;
        while (nIndex--) p = p->pNext;
        return Pos(p);
    }

private:
    static POSITION Pos(Node* p) { return reinterpret_cast<POSITION>(p); }
    static Node* NodeOf(POSITION pos)
    {
        if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
        return reinterpret_cast<Node*>(pos);
    }
    POSITION Head() const { return Pos(m_pHead); }
    POSITION Tail() const { return Pos(m_pTail); }
    void Unlink(Node* p)
    {
        if (p->pPrev)
            p->pPrev->pNext = p->pNext;
        else
            m_pHead = p->pNext;
        if (p->pNext)
            p->pNext->pPrev = p->pPrev;
        else
            m_pTail = p->pPrev;
        delete p;
        --m_nCount;
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}

    // A count, then each object (see CArchive). Loading appends; each
    // element must be a new object of any serialisable class.
    void Serialize(CArchive& ar) override;
    // The same, with every element loaded required to be of pElementClass
    // (or derived from it). Elements read before an error stay in the list,
    // so that an owner can free them.
    void SerializeElements(CArchive& ar, const CRuntimeClass* pElementClass);
};

class CPtrList : public CList<void*, void*> {
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    using CList::AddHead;
    using CList::AddTail;
    POSITION AddHead(const char* psz) { return CList::AddHead(CString(psz)); }
    POSITION AddTail(const char* psz) { return CList::AddTail(CString(psz)); }
    // A count, then each string.
    void Serialize(CArchive& ar) override;
};
