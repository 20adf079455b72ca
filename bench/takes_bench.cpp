// Takes of one tape decoded together: for each kind of trouble, the bytes that come out wrong (lost
// or misread) with one, two and three takes, over a few draws of noise, speed and leading silence,
// the draws whose decode is called clean with a wrong byte (there must be none), and the time the
// takes take against one.
//   takes_bench [DRAWS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "bench/benchnote.h"
#include "core/audio/decoder/casdecoder.h"
#include "core/audio/decoder/takes.h"
#include "core/audio/report/decodereport.h"
#include "core/audio/report/takesreport.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;

namespace {

enum class Trouble { Noise, Dropout, Cut, Burst };

struct Case {
    const char* name;
    bool doubleSpeed;
    double snrDb;
    Trouble trouble;
};

// Take `k` of draw `draw`: its own noise, speed, rate, leading silence and place of damage.
std::vector<float> takeOf(const std::vector<float>& tape, const Case& c, unsigned draw, int k,
                          double& rate) {
    std::vector<float> signal(
        static_cast<std::size_t>((0.1 + 0.37 * k + 0.05 * draw) * kEncoderRate), 0.0f);
    signal.insert(signal.end(), tape.begin(), tape.end());
    const double at = (5.0 + 3.0 * k + 0.3 * draw) * kEncoderRate;
    const auto ms = [](double m) { return static_cast<std::size_t>(m / 1000 * kEncoderRate); };
    switch (c.trouble) {
    case Trouble::Noise:
        break;
    case Trouble::Dropout:
        dropOut(signal, static_cast<std::size_t>(at), ms(30));
        break;
    case Trouble::Cut:
        cutOut(signal, static_cast<std::size_t>(at), ms(12));
        break;
    case Trouble::Burst:
        burstOfNoise(signal, static_cast<std::size_t>(at), ms(40), 1000 * draw + k);
        break;
    }
    rate = k == 1 ? 48000 : 44100;
    signal = resample(signal, rate, 1.0 + 0.02 * (k - 1) + 0.003 * draw);
    addNoise(signal, c.snrDb, 7919 * draw + 104729 * k + 1);
    return signal;
}

std::size_t wrongBytes(const Bytes& got, const Bytes& image) {
    std::size_t wrong =
        got.size() > image.size() ? got.size() - image.size() : image.size() - got.size();
    for (std::size_t i = 0; i < std::min(got.size(), image.size()); ++i)
        wrong += got[i] != image[i] ? 1 : 0;
    return wrong;
}

} // namespace

int main(int argc, char** argv) {
    warnIfSanitized();
    const unsigned draws = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 5;
    const Case cases[] = {
        {"-2.5 dB, 1200 baud", false, -2.5, Trouble::Noise},
        {"-1 dB, 1200 baud", false, -1.0, Trouble::Noise},
        {"1 dB, 1200 baud", false, 1.0, Trouble::Noise},
        {"1 dB, 2400 baud", true, 1.0, Trouble::Noise},
        {"3 dB, 2400 baud", true, 3.0, Trouble::Noise},
        {"5 dB, 2400 baud", true, 5.0, Trouble::Noise},
        {"20 dB, 2400, dropout", true, 20, Trouble::Dropout},
        {"20 dB, 2400, cut", true, 20, Trouble::Cut},
        {"20 dB, 2400, burst", true, 20, Trouble::Burst},
    };
    const Bytes image = randomBinaryFile(2048, 31);
    std::printf("a file of a 2048-byte block, %u draws a cell: wrong bytes (lost or misread) in "
                "all draws, draws clean, draws clean with a wrong byte\n",
                draws);
    std::printf("%-24s %-22s %-22s %-22s\n", "", "1 take", "2 takes", "3 takes");
    double seconds[4] = {0, 0, 0, 0};  // reporting one take, or combining and reporting the takes
    double decoding[4] = {0, 0, 0, 0}; // decoding each of the takes on its own
    for (const Case& c : cases) {
        SignalOptions options;
        options.doubleSpeed = c.doubleSpeed;
        const std::vector<float> tape = encodeSignal(image, options);
        std::size_t wrong[4] = {0, 0, 0, 0}, clean[4] = {0, 0, 0, 0}, cleanWrong[4] = {0, 0, 0, 0};
        for (unsigned draw = 0; draw < draws; ++draw) {
            std::vector<std::vector<DecodedBlock>> takes;
            std::vector<double> decodeSeconds;
            for (int k = 0; k < 3; ++k) {
                double rate = 0;
                const std::vector<float> signal = takeOf(tape, c, draw, k, rate);
                const auto start = std::chrono::steady_clock::now();
                takes.push_back(decodeTape(signal, rate, DecodeOptions{}));
                decodeSeconds.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                        .count());
            }
            for (std::size_t n = 1; n <= 3; ++n) {
                std::ostringstream report;
                Bytes got;
                bool isClean = false;
                const auto start = std::chrono::steady_clock::now();
                if (n == 1) {
                    isClean = reportDecode(takes[0], false, report);
                    got = tapeImage(takes[0]);
                } else {
                    const CombinedTape tape =
                        combineTakes({takes.begin(), takes.begin() + static_cast<long>(n)});
                    isClean = reportTakes(tape, {"a", "b", "c"}, false, report);
                    got = tapeImage(tape.blocks);
                }
                seconds[n] +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                for (std::size_t k = 0; k < n; ++k)
                    decoding[n] += decodeSeconds[k];
                const std::size_t w = wrongBytes(got, image);
                wrong[n] += w;
                clean[n] += isClean ? 1 : 0;
                cleanWrong[n] += isClean && w > 0 ? 1 : 0;
            }
        }
        std::printf("%-24s", c.name);
        for (int n = 1; n <= 3; ++n) {
            char cell[64];
            std::snprintf(cell, sizeof cell, "%zu, %zu/%u clean, %zu", wrong[n], clean[n], draws,
                          cleanWrong[n]);
            std::printf(" %-22s", cell);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    for (int n = 1; n <= 3; ++n)
        std::printf("%d take%s: decoding %.1f s, then %s %.2f s\n", n, n == 1 ? "" : "s",
                    decoding[n], n == 1 ? "reporting" : "combining and reporting", seconds[n]);
    return 0;
}
