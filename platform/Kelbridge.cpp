// Stand-in for the platform-sync library: it initialises and releases; the
// program's defaults apply to the rest (no automatic sync, no sync now).
#include "StandinConfig.h"

extern "C" {

__declspec(dllexport) int InitializePlatform(int /*mode*/, const char* /*product*/)
{
    return standin::NumberSetting("syncinit", 0);
}

__declspec(dllexport) void ReleasePlatform() {}

}  // extern "C"
