#pragma once
// Helpers for the cas2wav tests: tape images built from blocks, a sink that keeps the recording in
// memory, and a demodulator that reads the recording back from its zero crossings alone.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "core/files/bytesink.h"
#include "core/tape/casblocks.h"
#include "core/tape/tapebuilder.h"
#include "cli/cas2wav/cas2wavtool.h"

namespace cas2wav_testing {

using Bytes = std::vector<std::uint8_t>;

// A file header named as the tests' games are unless they say otherwise.
inline Bytes fileHeader(std::uint8_t id, const std::string& name = "GAME  ") {
    return fileHeaderBlock(id, name);
}

inline Bytes countingBytes(std::size_t size, int start = 0) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(start + i * 7);
    return bytes;
}

inline Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Runs the converter in-process with these arguments after the program name.
inline int runConverter(std::vector<std::string> args, std::ostream& err) {
    args.insert(args.begin(), "cas2wav");
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::ostringstream out;
    return runCas2Wav(static_cast<int>(argv.size()), argv.data(), out, err);
}

class MemorySink : public ByteSink {
  public:
    void write(const std::uint8_t* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
    }
    Bytes bytes;
};

// What the demodulator heard between two silences.
struct Burst {
    std::size_t silenceBefore = 0;   // samples at the silence level
    std::vector<std::size_t> cycles; // length of each cycle in samples
};

struct Recording {
    std::vector<Burst> bursts;
    std::size_t trailingSilence = 0;
    bool clean = true; // false if a sample fits neither a cycle nor a silence
};

// Splits 8-bit samples into silences and cycles. A cycle starts at a silence-level sample followed
// by a rising one and runs to the next such start or to the start of a silence.
inline Recording listenTo(const std::uint8_t* samples, std::size_t count) {
    const std::uint8_t mid = 128;
    auto startsCycle = [&](std::size_t i) {
        return i + 1 < count && samples[i] == mid && samples[i + 1] > mid;
    };
    auto startsSilence = [&](std::size_t i) {
        return samples[i] == mid && (i + 1 == count || samples[i + 1] == mid);
    };
    Recording heard;
    std::size_t silence = 0;
    std::size_t at = 0;
    while (at < count) {
        if (startsCycle(at)) {
            if (silence > 0 || heard.bursts.empty())
                heard.bursts.push_back({silence, {}});
            silence = 0;
            std::size_t end = at + 1;
            while (end < count && !startsCycle(end) && !startsSilence(end))
                ++end;
            heard.bursts.back().cycles.push_back(end - at);
            at = end;
        } else {
            heard.clean = heard.clean && samples[at] == mid;
            ++silence;
            ++at;
        }
    }
    heard.trailingSilence = silence;
    return heard;
}

// One burst read as a lead-in tone of 1 bits followed by bytes in the tape's serial framing.
struct DecodedBurst {
    std::size_t toneCycles = 0;
    Bytes bytes;
    bool framed = true; // false on a cycle of wrong length or a missing stop bit
};

inline DecodedBurst decodeBurst(const Burst& burst, std::size_t zeroCycle, std::size_t oneCycle) {
    DecodedBurst out;
    const std::vector<std::size_t>& c = burst.cycles;
    std::size_t i = 0;
    while (i < c.size() && c[i] == oneCycle)
        ++i;
    out.toneCycles = i;
    auto readBit = [&]() -> int {
        if (i < c.size() && c[i] == zeroCycle)
            return ++i, 0;
        if (i + 1 < c.size() && c[i] == oneCycle && c[i + 1] == oneCycle)
            return i += 2, 1;
        return i = c.size(), -1;
    };
    while (i < c.size()) {
        int value = 0;
        bool ok = readBit() == 0;
        for (int bit = 0; bit < 8; ++bit) {
            const int b = readBit();
            ok = ok && b >= 0;
            value |= (b > 0 ? 1 : 0) << bit;
        }
        ok = ok && readBit() == 1 && readBit() == 1;
        out.framed = out.framed && ok;
        out.bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return out;
}

} // namespace cas2wav_testing
