#pragma once
// CProcessWide<T>: the one way this program holds a process-wide object. The
// object lives in a std::shared_ptr made on first use; any thread may ask for
// it, and the first use makes exactly one even when several threads arrive
// together (the Wi-Fi sync's worker asks from its own thread). Tests put
// another object in place with Replace and put the old one back when done.
//
// A holder is a function-local static, so the slot itself is built safely on
// first use and torn down at exit in the reverse order of first use:
//
//   std::shared_ptr<CThing> CThing::GetInstance() {
//       static CProcessWide<CThing> slot(&MakeThing);
//       return slot.Get();
//   }
//
// Callers get a copy of the pointer, never a reference into the slot: the
// object they hold stays alive whatever another thread replaces meanwhile.
// An object that belongs to a process-wide one and is made on first use (the
// preference manager's preferences) sits in a member slot the same way.
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

template <typename T> class CProcessWide {
public:
    using Factory = std::function<std::shared_ptr<T>()>;

    // make builds the object at first use. It runs under the slot's lock, so
    // it must not ask this same slot (other slots are fine).
    explicit CProcessWide(Factory make) : m_make(std::move(make)) {}
    CProcessWide(const CProcessWide&) = delete;
    CProcessWide& operator=(const CProcessWide&) = delete;

    // The object, made now when there is none (also after Replace(nullptr)).
    std::shared_ptr<T> Get()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_object) m_object = m_make();
        return m_object;
    }

    // Puts object in place (null: the next Get makes a fresh one) and returns
    // the one it replaces, which the caller releases outside the lock.
    std::shared_ptr<T> Replace(std::shared_ptr<T> object)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_object.swap(object);
        return object;
    }

private:
    std::mutex m_lock;
    Factory m_make;
    std::shared_ptr<T> m_object;
};
