#pragma once
// CArchive: buffered binary serialisation over a CFile, in the framework's
// archive format (all numbers little-endian):
//
// - string: length, then the bytes (no terminating zero). Length 0..254: one
//   byte; 255..65533: FF then 16 bits; longer: FF, FF FF, then 32 bits.
//   FF FE FF before the length marks a UTF-16 string; it is read (and
//   converted to the ANSI code page) but never written.
// - count: 16 bits below 0xFFFF, else FF FF then 32 bits.
// - object: a class tag, then what the object's Serialize writes.
//   New class: FF FF, 16-bit schema, 16-bit name length, the name in ASCII.
//   Class written before: 0x8000 | index (16 bits) up to index 0x7FFE, else
//   0x7FFF then 0x80000000 | index (32 bits). An object written before: its
//   index (16 bits, or 0x7FFF then the 32-bit index); no object: 00 00.
//   One index counter per archive, from 1, shared by classes and objects in
//   the order they are first written.
//
// Reading checks everything against the data and the index map: truncated
// data, an index never assigned, an unknown class or one of the wrong kind
// throw CArchiveException; a length field never makes the reader allocate
// more than the data it has actually read. CFile errors come through as
// CFileException. Both derive from CException.

#include <exception>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

class CFile;

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes what was stored unless it was closed or aborted, or the archive
    // is being destroyed by an exception (or bNoFlushOnDelete was given).
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_bLoading; }
    bool IsStoring() const { return !m_bLoading; }
    CFile* GetFile() const { return m_pFile; }

    // Writes out the buffer (storing) and lets go of the file; throws on
    // write errors.
    void Close();
    // Lets go of the file without writing anything more; never throws.
    void Abort();
    void Flush();

    // Raw bytes. Read returns fewer than asked only at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Exactly nCount bytes, or CArchiveException(endOfFile).
    void ReadExact(void* lpBuf, UINT nCount);
    // Exactly nCount bytes into a new buffer, which grows only as data
    // arrives (so a corrupt length cannot demand a huge allocation).
    std::vector<BYTE> ReadBlock(DWORD nCount);

    CArchive& operator<<(bool b);
    CArchive& operator<<(char ch);
    CArchive& operator<<(signed char ch);
    CArchive& operator<<(unsigned char by);
    CArchive& operator<<(short w);
    CArchive& operator<<(unsigned short w);
    CArchive& operator<<(int i);
    CArchive& operator<<(unsigned int u);
    CArchive& operator<<(long l);            // 32 bits in the archive
    CArchive& operator<<(unsigned long dw);  // 32 bits in the archive
    CArchive& operator<<(long long ll);
    CArchive& operator<<(unsigned long long ull);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const char* psz) { return *this << CString(psz); }
    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }
    // Any other pointer (a BYTE buffer, say) would quietly turn into a bool;
    // raw bytes go through Write.
    template <class T, class = std::enable_if_t<!std::is_base_of_v<CObject, std::remove_cv_t<T>> &&
                                                !std::is_same_v<std::remove_cv_t<T>, char>>>
    CArchive& operator<<(T*) = delete;

    CArchive& operator>>(bool& b);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(unsigned char& by);
    CArchive& operator>>(short& w);
    CArchive& operator>>(unsigned short& w);
    CArchive& operator>>(int& i);
    CArchive& operator>>(unsigned int& u);
    CArchive& operator>>(long& l);
    CArchive& operator>>(unsigned long& dw);
    CArchive& operator>>(long long& ll);
    CArchive& operator>>(unsigned long long& ull);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(CString& s);
    CArchive& operator>>(CObject*& pOb)
    {
        pOb = ReadObject(nullptr);
        return *this;
    }

    DWORD ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    void WriteObject(const CObject* pOb);
    // The next object, which must be of pClassRefRequested or derived from it
    // (any class when null): a new object (owned by the caller), an object
    // read before (the same pointer again) or null.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // As ReadObject, but only a newly created object is accepted; a
    // reference to an object read before, or a null object, throws
    // CArchiveException(badIndex). For owning containers, so that corrupt
    // data cannot give one object two owners or slip a null in.
    CObject* ReadNewObject(const CRuntimeClass* pClassRefRequested);

    void WriteClass(const CRuntimeClass* pClassRef);
    // Reads a class tag (a new or known class). A tag that names an object
    // instead throws badIndex. The schema read for the class goes to *pSchema.
    const CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr);

    // While an object's Serialize runs on loading: the schema its class was
    // stored with. (UINT)-1 outside of that.
    UINT GetObjectSchema() const { return m_nObjectSchema; }
    // The schema written for a class in this archive instead of the one in
    // its class record.
    void SetClassSchema(const CRuntimeClass* pClass, UINT nSchema);

    // Nesting of objects inside objects that reading accepts.
    static const int nMaxObjectDepth = 64;

private:
    enum class Kind : BYTE { nullEntry, classEntry, objectEntry };
    struct LoadEntry {
        Kind kind;
        UINT schema;  // classes: the schema read
        const void* ptr;
    };

    void FillBuffer();
    void CheckLoading() const;
    void CheckStoring() const;
    DWORD NextIndex();
    UINT StoreSchemaOf(const CRuntimeClass* pClass) const;
    // Reads a tag; returns the class of a new object (and its schema), or
    // null with *ppOb set to an object already read or to null. A reference
    // to an object read before throws badIndex unless bRefAllowed: its owner
    // may have deleted it since, so only a caller that takes references
    // looks at it.
    const CRuntimeClass* ReadTag(const CRuntimeClass* pClassRefRequested, UINT* pSchema, CObject** ppOb,
                                 bool* pIsObjectRef, bool bRefAllowed);
    CObject* ReadObjectImpl(const CRuntimeClass* pClassRefRequested, bool bNewOnly);

    template <typename T> void WriteLE(T v, int nBytes);
    template <typename T> T ReadLE(int nBytes);

    CFile* m_pFile;
    bool m_bLoading;
    bool m_bFlushOnDelete;
    int m_nUncaughtAtStart;
    std::vector<BYTE> m_buf;
    size_t m_cur = 0;  // next byte in m_buf
    size_t m_lim = 0;  // loading: end of valid data in m_buf

    DWORD m_nMapCount = 1;
    std::unordered_map<const void*, DWORD> m_storeMap;  // classes and objects
    std::vector<LoadEntry> m_loadArray;
    std::unordered_map<const CRuntimeClass*, UINT> m_storeSchema;
    UINT m_nObjectSchema = (UINT)-1;
    int m_nDepth = 0;
};
