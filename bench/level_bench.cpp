// Times decoding and encoding of one 493-byte level file, over many rounds. Prints the figures;
// judges nothing.
//   level_bench [LEVELS_PER_ROUND]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/benchnote.h"
#include "core/level/level.h"
#include "core/level/levelcodec.h"

namespace {

constexpr int kRounds = 7;
constexpr long kDefaultLevelsPerRound = 1000000;

// A level file with every byte in use, so no slot decodes to a constant.
LevelFileBytes makeLevelFile() {
    LevelFileBytes bytes{};
    std::mt19937 random(4321);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    bytes[0] = kBloadId;
    return bytes;
}

// The median of the rounds, in nanoseconds per level. `pass` handles `count` levels.
template <typename Pass> double medianNanoseconds(long count, Pass pass) {
    std::vector<double> perLevel;
    pass(count / 10); // warm-up
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        pass(count);
        const std::chrono::duration<double, std::nano> took =
            std::chrono::steady_clock::now() - start;
        perLevel.push_back(took.count() / static_cast<double>(count));
    }
    std::sort(perLevel.begin(), perLevel.end());
    return perLevel[perLevel.size() / 2];
}

void report(const char* what, double nanoseconds) {
    const double megabytesPerSecond = static_cast<double>(kLevelFileSize) / nanoseconds * 1e3;
    std::printf("%s: %.1f ns per level\n", what, nanoseconds);
    std::printf("%s: %.1f MB/s\n", what, megabytesPerSecond);
}

} // namespace

int main(int argc, char** argv) {
    warnIfSanitized();
    const long count = argc > 1 ? std::max(10L, std::atol(argv[1])) : kDefaultLevelsPerRound;
    const LevelFileBytes file = makeLevelFile();

    // Each pass changes its input a little per level and folds every result into a checksum, so
    // the compiler can neither hoist the work out of the loop nor drop it.
    std::uint32_t checksum = 0;
    LevelFileBytes input = file;
    Level level{};
    const double decode = medianNanoseconds(count, [&](long n) {
        for (long i = 0; i < n; ++i) {
            input[100] = static_cast<std::uint8_t>(i);
            decodeLevel(input.data(), input.size(), level);
            checksum += static_cast<std::uint32_t>(level.slots[i % kSlotCount]);
        }
    });

    decodeLevel(file.data(), file.size(), level);
    const double encode = medianNanoseconds(count, [&](long n) {
        for (long i = 0; i < n; ++i) {
            level.slots[200] = static_cast<std::int32_t>(i);
            const LevelFileBytes out = encodeLevel(level);
            checksum += out[static_cast<std::size_t>(i) % kLevelFileSize];
        }
    });

    std::printf("median of %d rounds of %ld levels of %zu bytes each\n", kRounds, count,
                kLevelFileSize);
    report("decode", decode);
    report("encode", encode);
    std::printf("(checksum %08x)\n", static_cast<unsigned>(checksum));
    return 0;
}
