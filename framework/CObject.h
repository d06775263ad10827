#pragma once
// CObject: the root of the program's run-time-typed and serialisable classes.
//
// Each class that takes part declares one of
//   DECLARE_DYNAMIC(CName)   run-time class record, IsKindOf
//   DECLARE_DYNCREATE(CName) ... and creation by class name
//   DECLARE_SERIAL(CName)    ... and reading/writing through CArchive
// in its body and the matching IMPLEMENT_DYNAMIC(CName, CBase),
// IMPLEMENT_DYNCREATE(CName, CBase) or IMPLEMENT_SERIAL(CName, CBase, schema)
// in one source file. The schema is the 16-bit number written with the class
// name into archives; OR it with VERSIONABLE_SCHEMA to accept any schema on
// reading (Serialize then asks CArchive::GetObjectSchema which one it got).
//
// Classes are found by name only after their registration has run, that is
// when the object file implementing them is linked into the program.

#include "framework/ZvTypes.h"

class CArchive;
class CObject;

#define VERSIONABLE_SCHEMA (0x80000000u)

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                     // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();    // null: no creation by name
    const CRuntimeClass* m_pBaseClass;  // null for CObject

    // A new object of this class, or null when the class cannot be created
    // by name. Throws CMemoryException when storage cannot be had.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    bool IsSerializable() const { return m_pfnCreateObject && (m_wSchema & 0xFFFFu) != 0xFFFFu; }

    // The registered class of that name, or null.
    static const CRuntimeClass* FromName(const char* lpszClassName);
    static CObject* CreateObject(const char* lpszClassName);
};

// Adds a class record to the process-wide table (done by the IMPLEMENT_ macros).
struct ZvClassRegistration {
    explicit ZvClassRegistration(const CRuntimeClass* pClass);
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* pClass) const;
    bool IsSerializable() const;

protected:
    CObject() = default;

private:
    // Objects have identity (archives map them by address); copying is
    // done by the classes' own copy operations where they have them.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// The object as a pointer to the given class when it is one, else null.
#define DYNAMIC_DOWNCAST(class_name, object)                                                                           \
    ((object) && (object)->IsKindOf(RUNTIME_CLASS(class_name)) ? static_cast<class_name*>(object) : nullptr)

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##class_name;                                                                      \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                                     \
    DECLARE_DYNCREATE(class_name)                                                                                      \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define ZV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew)                                         \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), schema, pfnNew,         \
                                                         RUNTIME_CLASS(base_class_name)};                              \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }                     \
    static const ZvClassRegistration zvRegistration##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    ZV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    ZV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                                         \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    ZV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)                          \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                                               \
    {                                                                                                                  \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                                      \
        return ar;                                                                                                     \
    }
