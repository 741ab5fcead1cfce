#pragma once

#include "Program.h"

namespace platform {

// Leaves the event loop with the exit code; remembers the end so that a start-up that ends
// before the loop runs is not followed by exec().
class QtProgram : public Program {
public:
    void end(int exitCode = 0) override;
    bool ended() const override { return ended_; }
    int exitCode() const { return exitCode_; }

private:
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace platform
