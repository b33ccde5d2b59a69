// The best time of a piece of work over several rounds, for the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>

namespace bench {

// Runs work perRound times in each of rounds rounds; the fastest round's
// time per run, in microseconds.
template <typename Work>
double BestMicroseconds(int rounds, int perRound, Work work) {
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < perRound; ++i)
            work();
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / perRound);
    }
    return best;
}

}  // namespace bench
