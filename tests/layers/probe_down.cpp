// Built by the layer test: core sees the framework below it.
#include "core/os/PathUtils.h"
#include "framework/CString.h"

CString ZvLayerProbeDown() { return CString("down"); }
