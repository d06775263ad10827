#pragma once
// A named automatic-reset event with which one process wakes a waiting
// thread of the other (the program and the browser plug-in). A pulse
// releases one thread that waits at that moment and is lost when none waits,
// so users keep a thread waiting at all times. Windows build only.
#include "framework/CEvent.h"

class CNamedEvent : public CEvent {
public:
    // Creates the named event, not signalled, or opens the existing one.
    explicit CNamedEvent(const char* name);
    // Resets the event, then closes the handle.
    ~CNamedEvent() override;

    // Blocks without time-out until the event is signalled. Returns at once
    // when the event could not be created (IsValid false), so a caller that
    // waits in a loop checks IsValid first.
    void Wait();
    // Releases one waiting thread, if any; not remembered otherwise.
    void Pulse();
};
