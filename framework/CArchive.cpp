#include "framework/CArchive.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <unordered_set>

#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/CList.h"

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000u;
const WORD wBigObjectTag = 0x7FFF;
// Above this the index would collide with the tag bits.
const DWORD nMaxMapCount = 0x3FFFFFFE;
// Class names are short identifiers; a longer one is not ours.
const WORD nMaxClassNameLength = 64;
// Strings and blocks are read in pieces of this size.
const DWORD nReadChunk = 64 * 1024;

// Takes out of the list and deletes the elements that are in made (those a
// failed read created), whatever the list's own class does with the rest.
void FreeListElements(CObList& list, const std::unordered_set<const CObject*>& made)
{
    std::unordered_set<const CObject*> freed;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const POSITION at = pos;
        CObject* element = list.GetNext(pos);
        if (made.count(element)) {
            list.RemoveAt(at);
            if (freed.insert(element).second) delete element;
        }
    }
}

void ThrowArchive(int cause) { AfxThrowArchiveException(cause); }

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_bLoading((nMode & load) != 0), m_bFlushOnDelete((nMode & bNoFlushOnDelete) == 0),
      m_nUncaughtAtStart(std::uncaught_exceptions()), m_buf((size_t)std::max(nBufSize, 128))
{
    if (!pFile) AfxThrowInvalidArgException();
    m_loadArray.push_back(LoadEntry{Kind::nullEntry, 0, nullptr});
}

CArchive::~CArchive()
{
    if (m_pFile && IsStoring() && m_bFlushOnDelete && std::uncaught_exceptions() == m_nUncaughtAtStart) {
        try {
            Flush();
        } catch (...) {
            // A destructor cannot report; callers who need to know call Close.
        }
    }
    m_pFile = nullptr;
}

void CArchive::Close()
{
    if (!m_pFile) return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::Flush()
{
    if (!m_pFile) return;
    if (IsStoring()) {
        if (m_cur) {
            const UINT n = (UINT)m_cur;
            m_cur = 0;
            m_pFile->Write(m_buf.data(), n);
        }
    } else if (m_lim > m_cur) {
        // Give back what was buffered but not used.
        m_pFile->Seek(-(LONGLONG)(m_lim - m_cur), CFile::current);
        m_cur = m_lim = 0;
    }
}

void CArchive::CheckLoading() const
{
    if (!m_pFile) AfxThrowInvalidArgException();
    if (!m_bLoading) ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile) AfxThrowInvalidArgException();
    if (m_bLoading) ThrowArchive(CArchiveException::readOnly);
}

void CArchive::FillBuffer()
{
    m_cur = 0;
    m_lim = m_pFile->Read(m_buf.data(), (UINT)m_buf.size());
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_cur == m_lim) {
            const UINT left = nMax - done;
            if (left >= m_buf.size()) {
                // Large reads go straight to the file.
                const UINT n = m_pFile->Read(out + done, left);
                done += n;
                if (n < left) break;
                continue;
            }
            FillBuffer();
            if (m_lim == 0) break;
        }
        const size_t n = std::min<size_t>(nMax - done, m_lim - m_cur);
        std::memcpy(out + done, m_buf.data() + m_cur, n);
        m_cur += n;
        done += (UINT)n;
    }
    return done;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount) ThrowArchive(CArchiveException::endOfFile);
}

std::vector<BYTE> CArchive::ReadBlock(DWORD nCount)
{
    CheckLoading();
    std::vector<BYTE> out;
    DWORD done = 0;
    while (done < nCount) {
        const DWORD n = std::min(nCount - done, nReadChunk);
        out.resize((size_t)done + n);
        ReadExact(out.data() + done, n);
        done += n;
    }
    return out;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax) {
        if (m_cur == m_buf.size()) Flush();
        const size_t n = std::min<size_t>(nMax, m_buf.size() - m_cur);
        std::memcpy(m_buf.data() + m_cur, in, n);
        m_cur += n;
        in += n;
        nMax -= (UINT)n;
    }
}

template <typename T> void CArchive::WriteLE(T v, int nBytes)
{
    BYTE b[8];
    unsigned long long u = (unsigned long long)v;
    for (int i = 0; i < nBytes; ++i) b[i] = (BYTE)(u >> (8 * i));
    Write(b, (UINT)nBytes);
}

template <typename T> T CArchive::ReadLE(int nBytes)
{
    BYTE b[8];
    ReadExact(b, (UINT)nBytes);
    unsigned long long u = 0;
    for (int i = 0; i < nBytes; ++i) u |= (unsigned long long)b[i] << (8 * i);
    return (T)u;
}

// Numbers.

CArchive& CArchive::operator<<(bool b)
{
    WriteLE<BYTE>(b ? 1 : 0, 1);
    return *this;
}
CArchive& CArchive::operator<<(char ch)
{
    WriteLE<BYTE>((BYTE)ch, 1);
    return *this;
}
CArchive& CArchive::operator<<(signed char ch)
{
    WriteLE<BYTE>((BYTE)ch, 1);
    return *this;
}
CArchive& CArchive::operator<<(unsigned char by)
{
    WriteLE<BYTE>(by, 1);
    return *this;
}
CArchive& CArchive::operator<<(short w)
{
    WriteLE<WORD>((WORD)w, 2);
    return *this;
}
CArchive& CArchive::operator<<(unsigned short w)
{
    WriteLE<WORD>(w, 2);
    return *this;
}
CArchive& CArchive::operator<<(int i)
{
    WriteLE<std::uint32_t>((std::uint32_t)i, 4);
    return *this;
}
CArchive& CArchive::operator<<(unsigned int u)
{
    WriteLE<std::uint32_t>(u, 4);
    return *this;
}
CArchive& CArchive::operator<<(long l)
{
    // long is 32 bits on Windows; the host's wider long must not change the format.
    if (l < INT32_MIN || l > INT32_MAX) ThrowArchive(CArchiveException::genericException);
    WriteLE<std::uint32_t>((std::uint32_t)l, 4);
    return *this;
}
CArchive& CArchive::operator<<(unsigned long dw)
{
    if (dw > UINT32_MAX) ThrowArchive(CArchiveException::genericException);
    WriteLE<std::uint32_t>((std::uint32_t)dw, 4);
    return *this;
}
CArchive& CArchive::operator<<(long long ll)
{
    WriteLE<std::uint64_t>((std::uint64_t)ll, 8);
    return *this;
}
CArchive& CArchive::operator<<(unsigned long long ull)
{
    WriteLE<std::uint64_t>(ull, 8);
    return *this;
}
CArchive& CArchive::operator<<(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    WriteLE<std::uint32_t>(u, 4);
    return *this;
}
CArchive& CArchive::operator<<(double d)
{
    std::uint64_t u;
    std::memcpy(&u, &d, 8);
    WriteLE<std::uint64_t>(u, 8);
    return *this;
}

CArchive& CArchive::operator>>(bool& b)
{
    b = ReadLE<BYTE>(1) != 0;
    return *this;
}
CArchive& CArchive::operator>>(char& ch)
{
    ch = (char)ReadLE<BYTE>(1);
    return *this;
}
CArchive& CArchive::operator>>(signed char& ch)
{
    ch = (signed char)ReadLE<BYTE>(1);
    return *this;
}
CArchive& CArchive::operator>>(unsigned char& by)
{
    by = ReadLE<BYTE>(1);
    return *this;
}
CArchive& CArchive::operator>>(short& w)
{
    w = (short)ReadLE<WORD>(2);
    return *this;
}
CArchive& CArchive::operator>>(unsigned short& w)
{
    w = ReadLE<WORD>(2);
    return *this;
}
CArchive& CArchive::operator>>(int& i)
{
    i = (int)ReadLE<std::uint32_t>(4);
    return *this;
}
CArchive& CArchive::operator>>(unsigned int& u)
{
    u = ReadLE<std::uint32_t>(4);
    return *this;
}
CArchive& CArchive::operator>>(long& l)
{
    l = (long)(std::int32_t)ReadLE<std::uint32_t>(4);
    return *this;
}
CArchive& CArchive::operator>>(unsigned long& dw)
{
    dw = ReadLE<std::uint32_t>(4);
    return *this;
}
CArchive& CArchive::operator>>(long long& ll)
{
    ll = (long long)ReadLE<std::uint64_t>(8);
    return *this;
}
CArchive& CArchive::operator>>(unsigned long long& ull)
{
    ull = ReadLE<std::uint64_t>(8);
    return *this;
}
CArchive& CArchive::operator>>(float& f)
{
    const std::uint32_t u = ReadLE<std::uint32_t>(4);
    std::memcpy(&f, &u, 4);
    return *this;
}
CArchive& CArchive::operator>>(double& d)
{
    const std::uint64_t u = ReadLE<std::uint64_t>(8);
    std::memcpy(&d, &u, 8);
    return *this;
}

// Strings.

CArchive& CArchive::operator<<(const CString& s)
{
    const size_t len = (size_t)s.GetLength();
    if (len < 0xFF) {
        WriteLE<BYTE>((BYTE)len, 1);
    } else if (len < 0xFFFE) {
        WriteLE<BYTE>(0xFF, 1);
        WriteLE<WORD>((WORD)len, 2);
    } else {
        WriteLE<BYTE>(0xFF, 1);
        WriteLE<WORD>(0xFFFF, 2);
        WriteLE<std::uint32_t>((std::uint32_t)len, 4);
    }
    Write(s.GetString(), (UINT)len);
    return *this;
}

CArchive& CArchive::operator>>(CString& s)
{
    bool wide = false;
    DWORD len = ReadLE<BYTE>(1);
    if (len == 0xFF) {
        len = ReadLE<WORD>(2);
        if (len == 0xFFFE) {
            // UTF-16 marker; the length follows in the same encoding.
            wide = true;
            len = ReadLE<BYTE>(1);
            if (len == 0xFF) len = ReadLE<WORD>(2);
        }
        if (len == 0xFFFF) len = ReadLE<std::uint32_t>(4);
    }
    const unsigned long long nBytes = wide ? 2ull * len : len;
    if (nBytes > (unsigned long long)INT_MAX) ThrowArchive(CArchiveException::genericException);

    std::string bytes;
    while (bytes.size() < nBytes) {
        const size_t n = std::min<size_t>((size_t)nBytes - bytes.size(), nReadChunk);
        const size_t at = bytes.size();
        bytes.resize(at + n);
        ReadExact(&bytes[at], (UINT)n);
    }
    if (!wide) {
        s = CString(std::move(bytes));
    } else {
        std::u16string units(len, u'\0');
        for (DWORD i = 0; i < len; ++i) units[i] = (char16_t)((BYTE)bytes[2 * i] | ((BYTE)bytes[2 * i + 1] << 8));
        s = ZvAnsiFromUtf16(units);
    }
    return *this;
}

// Counts.

DWORD CArchive::ReadCount()
{
    const WORD w = ReadLE<WORD>(2);
    if (w != 0xFFFF) return w;
    return ReadLE<std::uint32_t>(4);
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if ((unsigned long long)dwCount > 0xFFFFFFFFull) ThrowArchive(CArchiveException::genericException);
    if (dwCount < 0xFFFF) {
        WriteLE<WORD>((WORD)dwCount, 2);
    } else {
        WriteLE<WORD>(0xFFFF, 2);
        WriteLE<std::uint32_t>((std::uint32_t)dwCount, 4);
    }
}

// Objects and classes.

DWORD CArchive::NextIndex()
{
    if (m_nMapCount > nMaxMapCount) ThrowArchive(CArchiveException::bufferFull);
    return m_nMapCount++;
}

void CArchive::SetClassSchema(const CRuntimeClass* pClass, UINT nSchema) { m_storeSchema[pClass] = nSchema; }

UINT CArchive::StoreSchemaOf(const CRuntimeClass* pClass) const
{
    auto it = m_storeSchema.find(pClass);
    return (it != m_storeSchema.end() ? it->second : pClass->m_wSchema) & 0xFFFFu;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef || !pClassRef->IsSerializable()) ThrowArchive(CArchiveException::badClass);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < wBigObjectTag) {
            WriteLE<WORD>((WORD)(wClassTag | index), 2);
        } else {
            WriteLE<WORD>(wBigObjectTag, 2);
            WriteLE<std::uint32_t>(dwBigClassTag | index, 4);
        }
        return;
    }
    const size_t nameLen = std::strlen(pClassRef->m_lpszClassName);
    WriteLE<WORD>(wNewClassTag, 2);
    WriteLE<WORD>((WORD)StoreSchemaOf(pClassRef), 2);
    WriteLE<WORD>((WORD)nameLen, 2);
    Write(pClassRef->m_lpszClassName, (UINT)nameLen);
    m_storeMap[pClassRef] = NextIndex();
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb) {
        WriteLE<WORD>(wNullTag, 2);
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < wBigObjectTag) {
            WriteLE<WORD>((WORD)index, 2);
        } else {
            WriteLE<WORD>(wBigObjectTag, 2);
            WriteLE<std::uint32_t>(index, 4);
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    // Mapped before its contents, so that it can refer to itself.
    m_storeMap[pOb] = NextIndex();
    const_cast<CObject*>(pOb)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadTag(const CRuntimeClass* pClassRefRequested, UINT* pSchema, CObject** ppOb,
                                       bool* pIsObjectRef, bool bRefAllowed)
{
    CheckLoading();
    *ppOb = nullptr;
    *pIsObjectRef = false;
    const WORD wTag = ReadLE<WORD>(2);
    DWORD obTag;
    if (wTag == wBigObjectTag)
        obTag = ReadLE<std::uint32_t>(4);
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    const CRuntimeClass* pClass;
    UINT schema;
    if (wTag == wNewClassTag) {
        const WORD wSchema = ReadLE<WORD>(2);
        const WORD nLen = ReadLE<WORD>(2);
        if (nLen == 0 || nLen > nMaxClassNameLength) ThrowArchive(CArchiveException::badClass);
        char name[nMaxClassNameLength + 1];
        ReadExact(name, nLen);
        name[nLen] = 0;
        if (std::strlen(name) != nLen) ThrowArchive(CArchiveException::badClass);
        pClass = CRuntimeClass::FromName(name);
        if (!pClass || !pClass->IsSerializable()) ThrowArchive(CArchiveException::badClass);
        if (!(pClass->m_wSchema & VERSIONABLE_SCHEMA) && wSchema != (pClass->m_wSchema & 0xFFFFu))
            ThrowArchive(CArchiveException::badSchema);
        schema = wSchema;
        if (m_nMapCount > nMaxMapCount) ThrowArchive(CArchiveException::bufferFull);
        m_loadArray.push_back(LoadEntry{Kind::classEntry, schema, pClass});
        ++m_nMapCount;
    } else if (obTag & dwBigClassTag) {
        const DWORD index = obTag & ~dwBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].kind != Kind::classEntry)
            ThrowArchive(CArchiveException::badIndex);
        pClass = static_cast<const CRuntimeClass*>(m_loadArray[index].ptr);
        schema = m_loadArray[index].schema;
    } else {
        // A reference to an object read before, or no object.
        *pIsObjectRef = true;
        if (wTag == wNullTag) return nullptr;
        if (!bRefAllowed || obTag == 0 || obTag >= m_loadArray.size() || m_loadArray[obTag].kind != Kind::objectEntry)
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = const_cast<CObject*>(static_cast<const CObject*>(m_loadArray[obTag].ptr));
        if (pClassRefRequested && !pOb->IsKindOf(pClassRefRequested)) ThrowArchive(CArchiveException::badClass);
        *ppOb = pOb;
        return nullptr;
    }
    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested)) ThrowArchive(CArchiveException::badClass);
    if (pSchema) *pSchema = schema;
    return pClass;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema)
{
    CObject* pOb;
    bool isObjectRef;
    const CRuntimeClass* pClass = ReadTag(pClassRefRequested, pSchema, &pOb, &isObjectRef, false);
    if (isObjectRef) ThrowArchive(CArchiveException::badIndex);
    return pClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    return ReadObjectImpl(pClassRefRequested, false);
}

CObject* CArchive::ReadNewObject(const CRuntimeClass* pClassRefRequested)
{
    return ReadObjectImpl(pClassRefRequested, true);
}

CObject* CArchive::ReadObjectImpl(const CRuntimeClass* pClassRefRequested, bool bNewOnly)
{
    UINT schema = 0;
    CObject* pRef;
    bool isObjectRef;
    const CRuntimeClass* pClass = ReadTag(pClassRefRequested, &schema, &pRef, &isObjectRef, !bNewOnly);
    if (isObjectRef) {
        if (bNewOnly) ThrowArchive(CArchiveException::badIndex);  // the null object
        return pRef;
    }
    if (m_nDepth >= nMaxObjectDepth) ThrowArchive(CArchiveException::genericException);
    if (m_nMapCount > nMaxMapCount) ThrowArchive(CArchiveException::bufferFull);

    CObject* pOb = pClass->CreateObject();
    if (!pOb) ThrowArchive(CArchiveException::badClass);
    const size_t slot = m_loadArray.size();
    try {
        m_loadArray.push_back(LoadEntry{Kind::objectEntry, schema, pOb});
    } catch (...) {
        delete pOb;
        throw;
    }
    ++m_nMapCount;

    const UINT outerSchema = m_nObjectSchema;
    m_nObjectSchema = schema;
    ++m_nDepth;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        --m_nDepth;
        m_nObjectSchema = outerSchema;
        // The half-read object goes, and with it whatever it read; nothing
        // may refer to them any more. A list does not own its elements: the
        // ones this read made are freed here.
        std::unordered_set<const CObject*> made;
        for (size_t i = slot + 1; i < m_loadArray.size(); ++i)
            if (m_loadArray[i].kind == Kind::objectEntry) made.insert(static_cast<const CObject*>(m_loadArray[i].ptr));
        for (size_t i = slot; i < m_loadArray.size(); ++i)
            if (m_loadArray[i].kind == Kind::objectEntry) m_loadArray[i] = LoadEntry{Kind::nullEntry, 0, nullptr};
        if (pOb->IsKindOf(RUNTIME_CLASS(CObList))) FreeListElements(*static_cast<CObList*>(pOb), made);
        delete pOb;
        throw;
    }
    --m_nDepth;
    m_nObjectSchema = outerSchema;
    return pOb;
}
