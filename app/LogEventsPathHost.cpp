#include "app/LogEvents.h"

CString DefaultEventsLogPath() { return CString(); }
