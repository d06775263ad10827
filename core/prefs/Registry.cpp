#include "core/prefs/Registry.h"

#include <algorithm>
#include <vector>

CRegistry::CRegistry() : m_hRoot(nullptr), m_hKey(nullptr) {}

CRegistry::CRegistry(HKEY root, LPCSTR subKey) : m_hRoot(root), m_hKey(nullptr), m_subKey(subKey) {}

CRegistry::~CRegistry() { CloseKey(); }

bool CRegistry::CreateKey()
{
    CloseKey();
    if (!m_hRoot) return false;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(m_hRoot, m_subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                          &disposition) != ERROR_SUCCESS)
        return false;
    m_hKey = key;
    return true;
}

bool CRegistry::OpenKey()
{
    CloseKey();
    if (!m_hRoot) return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(m_hRoot, m_subKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS &&
        ::RegOpenKeyExA(m_hRoot, m_subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    m_hKey = key;
    return true;
}

bool CRegistry::Open(HKEY root, LPCSTR subKey)
{
    m_hRoot = root;
    m_subKey = subKey;
    return OpenKey();
}

bool CRegistry::CloseKey()
{
    if (!m_hKey) return false;
    LONG rc = ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return rc == ERROR_SUCCESS;
}

bool CRegistry::WriteString(LPCSTR name, LPCSTR text)
{
    if (!m_hKey || !text) return false;
    return ::RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(strlen(text) + 1)) ==
           ERROR_SUCCESS;
}

bool CRegistry::WriteBinary(LPCSTR name, const void* data, DWORD size)
{
    if (!m_hKey || (!data && size)) return false;
    return ::RegSetValueExA(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool CRegistry::WriteDWORD(LPCSTR name, DWORD value)
{
    if (!m_hKey) return false;
    return ::RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool CRegistry::ReadValue(LPCSTR name, void* buffer, DWORD& size, DWORD* type)
{
    if (!m_hKey) return false;
    DWORD t = 0;
    LONG rc = ::RegQueryValueExA(m_hKey, name, nullptr, &t, static_cast<BYTE*>(buffer), &size);
    if (type) *type = t;
    return rc == ERROR_SUCCESS;
}

bool CRegistry::ReadString(LPCSTR name, CString& text)
{
    DWORD size = GetValueSize(name);
    if (size == 0) return false;
    std::vector<char> data(size_t(size) + 1, '\0');
    if (!ReadValue(name, data.data(), size)) return false;
    data[std::min<size_t>(size, data.size() - 1)] = '\0';
    text = data.data();
    return true;
}

bool CRegistry::ReadDWORD(LPCSTR name, DWORD& value)
{
    DWORD data = 0, size = sizeof data, type = 0;
    if (!ReadValue(name, &data, size, &type) || size != sizeof data) return false;
    if (type != REG_DWORD && type != REG_BINARY) return false;
    value = data;
    return true;
}

bool CRegistry::DeleteValue(LPCSTR name) { return m_hKey && ::RegDeleteValueA(m_hKey, name) == ERROR_SUCCESS; }

DWORD CRegistry::GetValueSize(LPCSTR name)
{
    if (!m_hKey) return 0;
    DWORD size = 0;
    if (::RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return 0;
    return size;
}

bool CRegistry::ValueExists(LPCSTR name)
{
    return m_hKey && ::RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

CString ReadRegistryString(HKEY root, LPCSTR subKey, LPCSTR name, LPCSTR defaultText)
{
    CString text(defaultText);
    CRegistry key(root, subKey);
    if (key.OpenKey()) key.ReadString(name, text);
    return text;
}

LONG DeleteRegistryTree(HKEY root, LPCSTR path)
{
    if (!path || !*path) return ERROR_INVALID_PARAMETER;  // never the whole root
    return ::RegDeleteTreeA(root, path);
}

namespace {

// Copies every value of from into to; true only when each one arrived with
// the same name, type and data.
bool CopyValuesFaithfully(HKEY from, HKEY to)
{
    DWORD count = 0, maxName = 0, maxData = 0;
    if (::RegQueryInfoKeyA(from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<char> name(size_t(maxName) + 2);
    std::vector<BYTE> data(size_t(maxData) + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = DWORD(name.size()), dataSize = DWORD(data.size()), type = 0;
        LONG rc = ::RegEnumValueA(from, index, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS) return index >= count;
        if (rc != ERROR_SUCCESS) return false;  // a value grew while we copied, or cannot be read
        // The unnamed default value is copied like any other.
        if (::RegSetValueExA(to, name.data(), 0, type, data.data(), dataSize) != ERROR_SUCCESS) return false;
    }
}

}  // namespace

bool RenameRegistryKey(const CString& oldKey, const CString& newKey, const CString& parent)
{
    CString relativeNew = newKey;
    if (!parent.IsEmpty()) relativeNew.Replace(parent, "");
    CString relativeOld = oldKey;
    if (!parent.IsEmpty()) relativeOld.Replace(parent, "");

    // Copying a key onto itself and deleting it would lose it.
    if (relativeOld.CompareNoCase(relativeNew) == 0) return false;
    CRegistry parentKey(HKEY_CURRENT_USER, parent);
    if (!parentKey.OpenKey()) return false;
    HKEY newHandle = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(parentKey.GetKey(), relativeNew, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &newHandle, &disposition) != ERROR_SUCCESS)
        return false;
    HKEY oldHandle = nullptr;
    if (::RegOpenKeyExA(parentKey.GetKey(), relativeOld, 0, KEY_READ, &oldHandle) != ERROR_SUCCESS) {
        ::RegCloseKey(newHandle);
        return true;  // nothing to move
    }
    bool faithful = CopyValuesFaithfully(oldHandle, newHandle);
    ::RegCloseKey(oldHandle);
    ::RegCloseKey(newHandle);
    // Only a complete copy lets the old key go; a key with sub-keys stays.
    if (!faithful) return false;
    return ::RegDeleteKeyA(parentKey.GetKey(), relativeOld) == ERROR_SUCCESS;
}
