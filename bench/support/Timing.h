#pragma once

#include <functional>

namespace bench {

// The median in milliseconds of `runs` runs of `step`, each after an untimed `prepare`.
double medianMs(int runs, const std::function<void()> &step, const std::function<void()> &prepare = {});
// One line: the figure, its target and their ratio.
void report(const char *what, double ms, double targetMs);
// One step of a figure reported above it: its time and its share of that figure's target.
void reportStep(const char *what, double ms, double targetMs);

} // namespace bench
