#include "core/users/UserItem.h"

#include <cstring>

#include "core/prefs/ProductNames.h"
#include "core/users/Platform.h"

namespace {

const int kMaxRegistryKeyName = 255;

}  // namespace

CUserItem::CUserItem(const UserRecord& record) : m_record(record) {}

CUserItem::~CUserItem() {}

CString CUserItem::GetDisplayName() const
{
    return GetUserRecordText(m_record.displayName, sizeof(m_record.displayName));
}

CString CUserItem::GetKeyName() const { return GetUserRecordText(m_record.keyName, sizeof(m_record.keyName)); }

bool CUserItem::SetNames(const CString& displayName, const CString& keyName)
{
    if (displayName.GetLength() >= (int)sizeof(m_record.displayName) ||
        keyName.GetLength() >= (int)sizeof(m_record.keyName) || !IsUsableKeyName(keyName))
        return false;
    SetUserRecordText(m_record.displayName, sizeof(m_record.displayName), displayName);
    SetUserRecordText(m_record.keyName, sizeof(m_record.keyName), keyName);
    m_sectionName.Empty();
    return true;
}

CString CUserItem::GetSectionName()
{
    if (m_sectionName.IsEmpty()) {
        m_sectionName = CString("User-") + GetPlatformTypeWord(m_record.platformType) + "-" +
                        MakeSafeUserName(GetKeyName()) + "-" + MakeSafeUserName(GetDisplayName());
    }
    return m_sectionName;
}

bool CUserItem::SetLegacyKey(const char* prefix)
{
    if (!prefix) return false;
    CString key = CString(prefix) + GetKeyName();
    if (key.GetLength() > kMaxRegistryKeyName) return false;
    m_legacyKey = key;
    return true;
}

CString CUserItem::GetLegacyKey() const { return m_legacyKey; }

CString CUserItem::GetLegacyProfileSection() const
{
    CString section = m_legacyKey;
    section.Replace(kLegacyRegistryRoot, "");
    return section;
}

CString CUserItem::GetPlatformRootDir(const char* productName) const
{
    if (m_standalone) return CString();
    auto* fn = PlatformExport<PlatformGetRootDirFn>(PlatformLibrary::Manager, "GetPlatformRootDir");
    if (!fn) return CString();
    char buffer[kPlatformRootDirBufferSize];
    std::memset(buffer, 0, sizeof(buffer));
    CString safeKey = MakeSafeUserName(GetKeyName());
    fn(productName ? productName : "", &m_record, safeKey, buffer);
    return GetUserRecordText(buffer, sizeof(buffer));
}

CUserList::CUserList() : CObList(10) {}

CUserList::~CUserList() { DeleteAll(); }

void CUserList::DeleteAll()
{
    POSITION pos = GetHeadPosition();
    while (pos) delete GetNext(pos);
    RemoveAll();
}

CUserItem* CUserList::FindByKeyNameAndUpdate(const CString& displayName, const CString& keyName)
{
    POSITION pos = GetHeadPosition();
    while (pos) {
        CUserItem* user = dynamic_cast<CUserItem*>(GetNext(pos));
        if (!user || user->GetKeyName().Compare(keyName) != 0) continue;
        // A name that does not fit leaves the user as it was.
        if (user->GetDisplayName().Compare(displayName) != 0) user->SetNames(displayName, keyName);
        return user;
    }
    return nullptr;
}

CUserItem* CUserList::FindActiveUser()
{
    POSITION pos = GetHeadPosition();
    while (pos) {
        CUserItem* user = dynamic_cast<CUserItem*>(GetNext(pos));
        if (!user) continue;
        // Looked up for every user: the platform may come and go.
        auto* fn = PlatformExport<PlatformIsUserActiveFn>(PlatformLibrary::Manager, "IsPlatformUserActive");
        if (!fn) return nullptr;
        if (fn(user->GetDisplayName(), user->GetKeyName(), user->GetRecord().platformValue)) return user;
    }
    return nullptr;
}

CUserItem* CUserList::FindByKeyNameOrFirst(const CString& name)
{
    CUserItem* first = nullptr;
    POSITION pos = GetHeadPosition();
    while (pos) {
        CUserItem* user = dynamic_cast<CUserItem*>(GetNext(pos));
        if (!user) continue;
        if (!first) first = user;
        if (user->GetKeyName().CompareNoCase(name) == 0) return user;
    }
    return first;
}

CUserItem* CUserList::FindById(int id)
{
    POSITION pos = GetHeadPosition();
    while (pos) {
        CUserItem* user = dynamic_cast<CUserItem*>(GetNext(pos));
        if (user && user->GetId() == id) return user;
    }
    return nullptr;
}
