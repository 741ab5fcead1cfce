#pragma once

#include "ProgramActivation.h"

namespace kit {

class ArchiveSession;
struct Services;

// What the composition root gives every window: the desktop seams and settings, the open
// archive, and which windows are the program's.
struct Context {
    Services &services;
    ArchiveSession &session;
    ProgramActivation::IsProgramWindow isProgramWindow;
};

} // namespace kit
