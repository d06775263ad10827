// The host build has no windows: a change notice goes nowhere.
#include "core/os/ChangeNotify.h"

void PostToListenerWindow(uint32_t, int32_t) {}
