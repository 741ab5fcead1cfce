#pragma once

#include "platform/Program.h"

class FakeProgram : public platform::Program {
public:
    int endings = 0;
    int exitCode = -1;

    void end(int code) override
    {
        ++endings;
        exitCode = code;
    }
    bool ended() const override { return endings > 0; }
};
