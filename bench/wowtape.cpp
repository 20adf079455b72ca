// Plays a recording on a deck whose speed wobbles, for the decoder's benchmark: wow and flutter as
// sinusoidal changes of the tape speed (pitch and timing move together), random phases from a seed.
// Writes the first channel, resampled to 44,100 Hz, as 16-bit PCM.
//   wowtape IN.wav OUT.wav WOW_PERCENT WOW_HZ FLUTTER_PERCENT FLUTTER_HZ [SEED]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/files/filebytes.h"
#include "core/audio/formats/wavheader.h"
#include "core/audio/formats/wavreader.h"
#include "tests/native/support/wowflutter.h"

namespace {

constexpr double kOutRate = 44100;

int fail(const std::string& what) {
    std::fprintf(stderr, "wowtape: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7 && argc != 8)
        return fail("usage: wowtape IN.wav OUT.wav WOW_PERCENT WOW_HZ FLUTTER_PERCENT FLUTTER_HZ "
                    "[SEED]");
    std::vector<std::uint8_t> file;
    std::string why;
    if (!readWholeFile(argv[1], file, why))
        return fail(std::string(argv[1]) + ": " + why);
    WavRecording recording;
    const std::string problem = parseWav(file.data(), file.size(), recording);
    if (!problem.empty())
        return fail(std::string(argv[1]) + ": " + problem);
    const std::vector<wowflutter::Wobble> wobbles = {
        {std::atof(argv[3]) / 100, std::atof(argv[4])},
        {std::atof(argv[5]) / 100, std::atof(argv[6])},
    };
    const unsigned seed = argc == 8 ? static_cast<unsigned>(std::atol(argv[7])) : 1;
    const std::vector<float> played = wowflutter::play(
        channelSamples(recording, 0), recording.sampleRate, kOutRate, 1.0, wobbles, seed);
    std::vector<std::uint8_t> data;
    for (float sample : played) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767);
        data.push_back(static_cast<std::uint8_t>(value & 0xFF));
        data.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    if (data.size() % 2 != 0 || data.size() > kMaxWavDataSize)
        return fail("the recording is too long");
    const auto header = makeWavHeader({static_cast<std::uint32_t>(kOutRate), 1, 16},
                                      static_cast<std::uint32_t>(data.size()));
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr)
        return fail(std::string(argv[2]) + ": cannot create it");
    const bool written = std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
                         std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (std::fclose(out) != 0 || !written)
        return fail(std::string(argv[2]) + ": cannot write it");
    return 0;
}
