// Times the line tool's steps for every ordered pair of grid cells: 432 x 432 lines per sweep,
// the same line drawn in both directions and from a cell to itself included. Prints the figures;
// judges nothing.
//   linetool_bench [SWEEPS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/benchnote.h"
#include "core/editor/linetool.h"
#include "core/level/level.h"

namespace {

constexpr int kCells = kColumns * kRows;
constexpr long long kPairs = static_cast<long long>(kCells) * kCells;
constexpr int kDefaultSweeps = 15;

// One sweep over all pairs; returns how many cells the lines paint, so the work is kept.
long long sweep() {
    long long painted = 0;
    for (int from = 0; from < kCells; ++from)
        for (int to = 0; to < kCells; ++to)
            painted += static_cast<long long>(
                lineCells(from % kColumns, from / kColumns, to % kColumns, to / kColumns).size());
    return painted;
}

} // namespace

int main(int argc, char** argv) {
    warnIfSanitized();
    const int sweeps = argc > 1 ? std::max(3, std::atoi(argv[1])) : kDefaultSweeps;
    long long painted = sweep(); // warm-up
    std::vector<double> milliseconds;
    for (int i = 0; i < sweeps; ++i) {
        const auto start = std::chrono::steady_clock::now();
        painted = sweep();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        milliseconds.push_back(took.count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = milliseconds[milliseconds.size() / 2];

    std::printf("%lld ordered pairs of cells per sweep, %lld painted cells in all; "
                "median of %d sweeps\n",
                kPairs, painted, sweeps);
    std::printf("all pairs: %.2f ms per sweep\n", median);
    std::printf("all pairs: %.2f ms fastest sweep\n", milliseconds.front());
    std::printf("all pairs: %.2f ms slowest sweep\n", milliseconds.back());
    std::printf("one line: %.1f ns\n", median * 1e6 / static_cast<double>(kPairs));
    std::printf("throughput: %.2f million pairs/s\n", static_cast<double>(kPairs) / (median * 1e3));
    return 0;
}
