#pragma once

namespace platform {

// Ending the program. Callers return at once after end(); tests record the call instead.
class Program {
public:
    virtual ~Program() = default;
    virtual void end(int exitCode = 0) = 0;
    virtual bool ended() const = 0;
};

} // namespace platform
