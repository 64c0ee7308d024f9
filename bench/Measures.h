#pragma once

// What the benchmarks measure with: the best of several runs, the processor time, the heap in use.

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// The best of several runs, in milliseconds: the least disturbed by the rest of the machine.
inline double bestMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return *std::min_element(times.begin(), times.end());
}

// The processor time of the whole process, every thread's: steadier than the clock on a machine
// that others share.
inline double processorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The bytes malloc holds for the program, where the C library can tell; -1 where it cannot.
inline qint64 heapInUse()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#else
    return -1;
#endif
}
