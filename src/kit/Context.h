#pragma once

#include "ProgramActivation.h"
#include "SlotGuard.h"

namespace kit {

class ArchiveSession;
struct Services;

// What the composition root gives every window: the desktop seams and settings, the open
// archive, the guard every slot runs in, and which windows are the program's.
struct Context {
    Services &services;
    ArchiveSession &session;
    const SlotGuard &guard;
    ProgramActivation::IsProgramWindow isProgramWindow;
};

} // namespace kit
