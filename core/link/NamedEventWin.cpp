#include "core/link/NamedEvent.h"

CNamedEvent::CNamedEvent(const char* name) : CEvent(FALSE, FALSE, name) {}

CNamedEvent::~CNamedEvent() { ResetEvent(); }

void CNamedEvent::Wait() { Lock(); }

void CNamedEvent::Pulse() { PulseEvent(); }
