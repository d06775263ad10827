#pragma once
// Maps a Win32 handle to the wrapper object that owns it.
//
// Permanent entries belong to wrappers that the program made and attached
// (Attach/Create); they are shared by all threads, since a window may be
// reached from a worker while its thread runs. Temporary entries are made by
// FromHandle for a handle that no wrapper owns: the object only forwards
// calls, belongs to the calling thread and is deleted on that thread's next
// idle time (AfxDeleteTempMaps), so callers must not keep the pointer.

#include <windows.h>

#include <mutex>
#include <unordered_map>
#include <vector>

// Handle access for the wrapped class T: specialised next to each wrapper.
template <class T> struct ZvHandleTraits;

// Deletes the calling thread's temporary wrappers of every handle map.
void AfxDeleteTempMaps();

namespace ZvDetail {
void RegisterTempMapCleaner(void (*cleaner)());
}

template <class T> class CHandleMap {
public:
    using Handle = typename ZvHandleTraits<T>::Handle;

    static T* FromHandlePermanent(Handle h)
    {
        if (!h) return nullptr;
        std::lock_guard<std::mutex> lock(Mutex());
        auto it = Permanent().find(h);
        return it == Permanent().end() ? nullptr : it->second;
    }

    // The owning wrapper, or a temporary one made now.
    static T* FromHandle(Handle h)
    {
        if (!h) return nullptr;
        if (T* p = FromHandlePermanent(h)) return p;
        auto& temp = Temporary();
        auto it = temp.find(h);
        if (it != temp.end()) return it->second;
        T* p = new T;
        ZvHandleTraits<T>::Of(*p) = h;
        temp[h] = p;
        return p;
    }

    static void SetPermanent(Handle h, T* p)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Permanent()[h] = p;
    }

    // Forgets the handle. The calling thread's temporary wrapper of it, if
    // any, is deleted with the others at idle time (a caller may still hold
    // it until then, and it may be the very object being detached).
    static void RemoveHandle(Handle h)
    {
        {
            std::lock_guard<std::mutex> lock(Mutex());
            Permanent().erase(h);
        }
        auto& temp = Temporary();
        auto it = temp.find(h);
        if (it == temp.end()) return;
        Retired().push_back(it->second);
        temp.erase(it);
    }

    static bool IsTemporary(const T* p)
    {
        for (auto& e : Temporary())
            if (e.second == p) return true;
        for (T* retired : Retired())
            if (retired == p) return true;
        return false;
    }

    static void DeleteTemp()
    {
        auto& temp = Temporary();
        std::vector<T*> objects;
        objects.swap(Retired());
        for (auto& e : temp) objects.push_back(e.second);
        temp.clear();
        for (T* p : objects) {
            ZvHandleTraits<T>::Of(*p) = nullptr;  // a temporary never owns its handle
            delete p;
        }
    }

private:
    static std::mutex& Mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::unordered_map<Handle, T*>& Permanent()
    {
        static std::unordered_map<Handle, T*> map;
        return map;
    }
    static std::unordered_map<Handle, T*>& Temporary()
    {
        // Plain pointers only in thread-local storage: MinGW's thread-exit
        // destructors of thread_local objects are not dependable.
        thread_local std::unordered_map<Handle, T*>* map = nullptr;
        if (!map) {
            map = new std::unordered_map<Handle, T*>;
            ZvDetail::RegisterTempMapCleaner(&CHandleMap::DeleteTemp);
        }
        return *map;
    }
    // Temporary wrappers whose handle was removed: no longer found, still
    // deleted at idle time.
    static std::vector<T*>& Retired()
    {
        thread_local std::vector<T*>* list = nullptr;
        if (!list) list = new std::vector<T*>;
        return *list;
    }
};
