// The best time of a piece of work over several rounds, for the benchmarks.
#pragma once

#include <algorithm>
#include <array>
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

// BestMicroseconds of several pieces of work, taken in turn within each
// round, so that a machine busy with other work slows them alike.
template <typename... Works>
std::array<double, sizeof...(Works)> BestMicrosecondsInTurn(int rounds, int perRound,
                                                            Works... works) {
    std::array<double, sizeof...(Works)> best;
    best.fill(1e30);
    for (int r = 0; r < rounds; ++r) {
        std::size_t which = 0;
        ((best[which] = std::min(best[which], BestMicroseconds(1, perRound, works)), ++which), ...);
    }
    return best;
}

}  // namespace bench
