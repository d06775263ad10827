#include "ZorvikanToolBar/com/RegScriptApply.h"

namespace {

bool IsGone(LONG error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

LONG SetString(HKEY key, const char* name, const CString& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                          static_cast<DWORD>(text.GetLength() + 1));
}

LONG WriteKeys(HKEY parent, const std::vector<RegScriptKey>& keys)
{
    for (const RegScriptKey& k : keys) {
        if (k.flag == RegKeyFlag::kForceRemove) {
            LONG gone = RegDeleteTreeA(parent, k.name);
            if (gone != ERROR_SUCCESS && !IsGone(gone)) return gone;
        }
        HKEY key = nullptr;
        LONG r = RegCreateKeyExA(parent, k.name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                 &key, nullptr);
        if (r != ERROR_SUCCESS) return r;
        if (k.hasDefault) r = SetString(key, nullptr, k.defaultText);
        for (size_t i = 0; r == ERROR_SUCCESS && i < k.values.size(); ++i)
            r = SetString(key, k.values[i].name, k.values[i].text);
        if (r == ERROR_SUCCESS) r = WriteKeys(key, k.keys);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS) return r;
    }
    return ERROR_SUCCESS;
}

LONG RemoveKeys(HKEY parent, const std::vector<RegScriptKey>& keys)
{
    LONG first = ERROR_SUCCESS;
    auto note = [&first](LONG r) {
        if (first == ERROR_SUCCESS && r != ERROR_SUCCESS && !IsGone(r)) first = r;
    };
    for (const RegScriptKey& k : keys) {
        if (k.flag == RegKeyFlag::kForceRemove) {
            note(RegDeleteTreeA(parent, k.name));
            continue;
        }
        HKEY key = nullptr;
        LONG r = RegOpenKeyExA(parent, k.name, 0, KEY_READ | KEY_WRITE, &key);
        if (r != ERROR_SUCCESS) {
            note(r);
            continue;
        }
        note(RemoveKeys(key, k.keys));
        for (const RegScriptValue& v : k.values) note(RegDeleteValueA(key, v.name));
        RegCloseKey(key);
        // A key that others filled too keeps what they wrote.
        if (k.flag == RegKeyFlag::kNormal) {
            r = RegDeleteKeyA(parent, k.name);
            if (r != ERROR_ACCESS_DENIED) note(r);
        }
    }
    return first;
}

HKEY RootKey(const CString& name, HKEY classesRoot)
{
    if (name == "HKCR") return classesRoot;
    if (name == "HKCU") return HKEY_CURRENT_USER;
    return HKEY_LOCAL_MACHINE;
}

}  // namespace

LONG ApplyRegScript(const std::vector<RegScriptRoot>& roots, bool doRegister, HKEY classesRoot)
{
    LONG first = ERROR_SUCCESS;
    for (const RegScriptRoot& root : roots) {
        HKEY key = RootKey(root.root, classesRoot);
        if (doRegister) {
            LONG r = WriteKeys(key, root.keys);
            if (r != ERROR_SUCCESS) return r;
        } else {
            LONG r = RemoveKeys(key, root.keys);
            if (first == ERROR_SUCCESS) first = r;
        }
    }
    return first;
}
