#pragma once

#include <exception>

namespace model {

// One step of a sequence that runs in the ignore-errors regime: a failing step is skipped and
// the next one runs.
template <class Step> void ignoringErrors(Step &&step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

} // namespace model
