#pragma once
// Puts a value in place through a setter that returns the previous one, and
// puts the previous one back when the scope ends. It fits every seam of
// core/os/ProcessSeams.h whose setter returns the previous value and every
// process-wide object's ReplaceInstance:
//
//   zvtest::ScopedReplace hook(&SetBeforeReplaceHook, &FailBeforeReplace);
//   zvtest::ScopedReplace manager(&CAppPrefMgr::ReplaceInstance, scratchManager);
#include <utility>

namespace zvtest {

template <typename Value> class ScopedReplace {
public:
    using Setter = Value (*)(Value);

    template <typename Given>
    ScopedReplace(Setter set, Given&& value) : m_set(set), m_previous(set(Value(std::forward<Given>(value))))
    {}
    ~ScopedReplace() { m_set(std::move(m_previous)); }
    ScopedReplace(const ScopedReplace&) = delete;
    ScopedReplace& operator=(const ScopedReplace&) = delete;

    // What was in place before.
    const Value& Previous() const { return m_previous; }

private:
    Setter m_set;
    Value m_previous;
};

// The value's type is the setter's, whatever the argument converts from.
template <typename Value, typename Given> ScopedReplace(Value (*)(Value), Given&&) -> ScopedReplace<Value>;

}  // namespace zvtest
