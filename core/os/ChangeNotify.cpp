#include "core/os/ChangeNotify.h"

#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"

IMPLEMENT_DYNAMIC(CNotifyObject, CObject)

namespace {

DatabaseNotifyPoster g_poster = &PostToListenerWindow;

}  // namespace

DatabaseNotifyPoster SetDatabaseNotifyPoster(DatabaseNotifyPoster poster)
{
    DatabaseNotifyPoster previous = g_poster;
    g_poster = poster ? poster : &PostToListenerWindow;
    return previous;
}

uint32_t MakeDatabaseNotifyWParam(int operation, int itemClass)
{
    return (static_cast<uint32_t>(itemClass) << 16) | (static_cast<uint32_t>(operation) & 0xFFFFu);
}

void PostDatabaseNotify(const CUserItem* user, int operation, int itemClass, int itemId)
{
    if (!user) return;
    // Looked up at every call: the platform may come and go.
    auto* isActive = PlatformExport<PlatformIsUserActiveFn>(PlatformLibrary::Manager, "IsPlatformUserActive");
    if (!isActive) return;
    if (!isActive(user->GetDisplayName(), user->GetKeyName(), user->GetRecord().platformValue)) return;
    g_poster(MakeDatabaseNotifyWParam(operation, itemClass), static_cast<int32_t>(itemId));
}

CNotifyProviderList::~CNotifyProviderList()
{
    POSITION pos = GetHeadPosition();
    while (pos) delete GetNext(pos);
    RemoveAll();
}

void CNotifyProviderList::AddNotice(int operation, int itemClass, int itemId)
{
    AddTail(new CNotifyObject(operation, itemClass, itemId));
}

void CNotifyProviderList::PostAll(const CUserItem* user) const
{
    POSITION pos = GetHeadPosition();
    while (pos) {
        const CNotifyObject* notice = dynamic_cast<const CNotifyObject*>(GetNext(pos));
        if (notice) PostDatabaseNotify(user, notice->m_operation, notice->m_itemClass, notice->m_itemId);
    }
}
