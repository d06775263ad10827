// Built by the layer test, which expects the build to fail: core must not see
// the application shell above it.
#include "core/os/PathUtils.h"
#include "app/history/LogEvent.h"

CString ZvLayerProbeUp() { return CString("up"); }
