#include "core/PackingKey.h"

namespace {
thread_local const CPackingKeyScope* t_innermost = nullptr;
}

CPackingKeyScope::CPackingKeyScope(const BlowfishContext* key) : m_outer(t_innermost), m_key(key) {
    t_innermost = this;
}

CPackingKeyScope::~CPackingKeyScope() { t_innermost = m_outer; }

bool PackingKeyScopeActive() { return t_innermost != nullptr; }

const BlowfishContext* ScopedPackingKey() { return t_innermost ? t_innermost->m_key : nullptr; }
