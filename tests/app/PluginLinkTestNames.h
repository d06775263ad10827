#pragma once
// The link's object names for one test run: the real names with a suffix, so
// that parallel test programs (and a running program) never meet. The test
// and its plug-in peer process build them the same way.
#include <string>

#include "app/pluginlink/PluginLink.h"

namespace zvtest {

inline WebLoginLinkNames LinkNamesWithSuffix(const std::string& suffix)
{
    WebLoginLinkNames names;
    for (CString* name : {&names.appRunning, &names.sharedMemory, &names.eventAdded, &names.dbChange, &names.userChange,
                          &names.changeCounts})
        *name += suffix.c_str();
    return names;
}

// Set by a listening peer once it has read the counts it starts from.
inline std::string ListenerReadyName(const std::string& suffix, int listener)
{
    return "ZvTest-ListenerReady" + suffix + "-" + std::to_string(listener);
}

}  // namespace zvtest
