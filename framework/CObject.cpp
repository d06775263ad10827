#include "framework/CObject.h"

#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "framework/CException.h"

namespace {

struct Registry {
    std::mutex lock;
    std::vector<const CRuntimeClass*> classes;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFFu, nullptr, nullptr};

ZvClassRegistration::ZvClassRegistration(const CRuntimeClass* pClass)
{
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> hold(r.lock);
    r.classes.push_back(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    if (!m_pfnCreateObject) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass) return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
    if (!lpszClassName) return nullptr;
    if (std::strcmp(lpszClassName, CObject::classCObject.m_lpszClassName) == 0) return &CObject::classCObject;
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> hold(r.lock);
    for (const CRuntimeClass* p : r.classes)
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName)
{
    const CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : nullptr;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

bool CObject::IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }
