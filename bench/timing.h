#pragma once
// Timing of repeated steps for the benchmarks: the median and the slowest of a number of runs, and
// one line of figures against a limit.

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace nc::bench {

struct Figures {
    double median = 0;
    double worst = 0;
};

// Times each call of step (given the run's number); milliseconds. afterEach, when given, runs inside
// the timing after each call (handling the events a step caused).
inline Figures measure(int count, const std::function<void(int)>& step,
                       const std::function<void()>& afterEach = {}) {
    QList<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        if (afterEach)
            afterEach();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.last()};
}

// "what  median … ms, slowest … ms  (limit … ms)", with OVER when the slowest passes the limit; no
// limit is printed when it is 0.
inline void report(const char* what, Figures f, double limit) {
    std::printf("%-46s median %7.2f ms, slowest %7.2f ms", what, f.median, f.worst);
    if (limit > 0)
        std::printf("  (limit %.0f ms)%s", limit, f.worst > limit ? "  OVER" : "");
    std::printf("\n");
}

} // namespace nc::bench
