#include "Timing.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

double medianMs(int runs, const std::function<void()> &step, const std::function<void()> &prepare)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer clock;
        clock.start();
        step();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void report(const char *what, double ms, double targetMs)
{
    std::printf("  %-44s %7.3f ms  target %5.0f ms  ratio %5.3f  %s\n", what, ms, targetMs, ms / targetMs,
                ms < targetMs ? "within target" : "OVER TARGET");
}

void reportStep(const char *what, double ms, double targetMs)
{
    std::printf("    %-42s %7.3f ms  %3.0f%% of the %.0f ms target\n", what, ms, 100 * ms / targetMs, targetMs);
}

} // namespace bench
