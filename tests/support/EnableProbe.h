#pragma once
// What a command's update handler said of its item: whether it enabled it.
// `on` keeps the value given at construction when the handler says nothing.
#include "framework/CmdTarget.h"

namespace zvtest {

struct EnableProbe : CCmdUI {
    explicit EnableProbe(bool assumed = false) : on(assumed) {}
    void Enable(BOOL bOn) override
    {
        on = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    bool on;
};

}  // namespace zvtest
