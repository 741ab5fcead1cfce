#pragma once

#include "platform/Program.h"
#include "platform/Shell.h"

namespace bench {

// A program that notes its end instead of quitting, so a benchmark goes on.
class StayingProgram : public platform::Program {
public:
    void end(int) override { ended_ = true; }
    bool ended() const override { return ended_; }

private:
    bool ended_ = false;
};

// No desktop to hand anything to.
class NoShell : public platform::Shell {
public:
    bool open(const QUrl &) override { return false; }
};

} // namespace bench
