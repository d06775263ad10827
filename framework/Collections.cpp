// Serialisation of the framework's collection classes.
#include "framework/CArchive.h"
#include "framework/CArray.h"
#include "framework/CList.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)

void CObList::Serialize(CArchive& ar) { SerializeElements(ar, RUNTIME_CLASS(CObject)); }

void CObList::SerializeElements(CArchive& ar, const CRuntimeClass* pElementClass)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)GetCount());
        for (POSITION pos = GetHeadPosition(); pos;) ar.WriteObject(GetNext(pos));
        return;
    }
    // No room is reserved from the count: each element is read (or the data
    // runs out) before the next is asked for.
    for (DWORD n = ar.ReadCount(); n; --n) {
        CObject* pOb = ar.ReadNewObject(pElementClass);
        try {
            AddTail(pOb);
        } catch (...) {
            delete pOb;
            throw;
        }
    }
}

void CStringList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)GetCount());
        for (POSITION pos = GetHeadPosition(); pos;) ar << GetNext(pos);
        return;
    }
    for (DWORD n = ar.ReadCount(); n; --n) {
        CString s;
        ar >> s;
        AddTail(s);
    }
}

void CStringArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)GetSize());
        for (INT_PTR i = 0; i < GetSize(); ++i) ar << GetAt(i);
        return;
    }
    RemoveAll();
    for (DWORD n = ar.ReadCount(); n; --n) {
        CString s;
        ar >> s;
        Add(s);
    }
}
