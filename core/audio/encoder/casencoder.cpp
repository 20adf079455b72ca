#include "core/audio/encoder/casencoder.h"

#include <algorithm>
#include <cmath>

#include "core/audio/encoder/tapebyte.h"

namespace {

constexpr std::uint32_t kNewFileSilence = 2 * kTapeSampleRate;
constexpr std::uint32_t kNextBlockSilence = kTapeSampleRate;
constexpr std::uint32_t kTrailingSilence = kTapeSampleRate;
constexpr std::uint32_t kSilenceChunk = 4096;
constexpr std::uint32_t kToneChunkCycles = 1000;

struct SignalTiming {
    std::uint32_t zeroCycle;      // samples of the cycle that makes a 0 bit
    std::uint32_t oneCycle;       // samples of each of the two cycles that make a 1 bit
    std::uint32_t longToneCycles; // tone before a new file
    std::uint32_t shortToneCycles;
};

SignalTiming timingFor(const SignalOptions& options) {
    if (options.doubleSpeed)
        return {18, 9, 32000, 8000};
    return {36, 18, 16000, 4000};
}

std::uint32_t silenceBefore(LeadIn leadIn) {
    return leadIn == LeadIn::Long ? kNewFileSilence : kNextBlockSilence;
}

std::uint32_t toneCycles(LeadIn leadIn, const SignalTiming& timing) {
    return leadIn == LeadIn::Long ? timing.longToneCycles : timing.shortToneCycles;
}

// One sine period of `samples` samples, starting at the silence level.
std::vector<std::uint8_t> makeCycle(std::uint32_t samples, bool inverted) {
    const double pi = std::acos(-1.0);
    const int direction = inverted ? -1 : 1;
    std::vector<std::uint8_t> cycle(samples);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double phase = 2.0 * pi * i / samples;
        const long offset = std::lround(kSignalAmplitude * std::sin(phase));
        cycle[i] = static_cast<std::uint8_t>(kSilenceLevel + direction * offset);
    }
    return cycle;
}

void append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& pattern, int times) {
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), pattern.begin(), pattern.end());
}

// The samples of every part of the recording, computed once so that writing is copying.
class SignalPatterns {
  public:
    explicit SignalPatterns(const SignalOptions& options)
        : timing_(timingFor(options)), silence_(kSilenceChunk, kSilenceLevel) {
        const std::vector<std::uint8_t> zero = makeCycle(timing_.zeroCycle, options.inverted);
        const std::vector<std::uint8_t> one = makeCycle(timing_.oneCycle, options.inverted);
        append(tone_, one, kToneChunkCycles);
        byteSize_ = kTapeByteBits * timing_.zeroCycle;
        bytes_.reserve(256 * byteSize_);
        for (int value = 0; value < 256; ++value)
            appendByte(value, zero, one);
    }

    const SignalTiming& timing() const { return timing_; }

    void silence(std::uint32_t samples, ByteSink& sink) const {
        for (; samples > kSilenceChunk; samples -= kSilenceChunk)
            sink.write(silence_.data(), kSilenceChunk);
        sink.write(silence_.data(), samples);
    }

    void tone(std::uint32_t cycles, ByteSink& sink) const {
        for (; cycles > kToneChunkCycles; cycles -= kToneChunkCycles)
            sink.write(tone_.data(), tone_.size());
        sink.write(tone_.data(), std::size_t{cycles} * timing_.oneCycle);
    }

    void data(const std::uint8_t* bytes, std::size_t count, ByteSink& sink) const {
        for (std::size_t i = 0; i < count; ++i)
            sink.write(bytes_.data() + bytes[i] * byteSize_, byteSize_);
    }

  private:
    void appendByte(int value, const std::vector<std::uint8_t>& zero,
                    const std::vector<std::uint8_t>& one) {
        for (int i = 0; i < kTapeByteBits; ++i) {
            const bool bit = tapeByteBit(static_cast<std::uint8_t>(value), i);
            append(bytes_, bit ? one : zero, bit ? 2 : 1);
        }
    }

    SignalTiming timing_;
    std::vector<std::uint8_t> silence_;
    std::vector<std::uint8_t> tone_;
    std::vector<std::uint8_t> bytes_; // the samples of every byte value, one after the other
    std::size_t byteSize_ = 0;
};

} // namespace

WavFormat tapeWavFormat() {
    return {kTapeSampleRate, 1, 8};
}

std::vector<RecordedBlock> recordingLayout(const std::vector<TapeBlock>& blocks,
                                           const SignalOptions& options) {
    const SignalTiming timing = timingFor(options);
    const std::uint64_t byteSamples = kTapeByteBits * timing.zeroCycle;
    std::vector<RecordedBlock> layout;
    std::uint64_t at = 0;
    for (const TapeBlock& block : blocks) {
        RecordedBlock recorded{};
        recorded.silence = at;
        recorded.tone = recorded.silence + silenceBefore(block.leadIn);
        recorded.data =
            recorded.tone + std::uint64_t{toneCycles(block.leadIn, timing)} * timing.oneCycle;
        recorded.end = recorded.data + std::uint64_t{block.size} * byteSamples;
        at = recorded.end;
        layout.push_back(recorded);
    }
    return layout;
}

std::uint64_t recordingSize(const std::vector<TapeBlock>& blocks, const SignalOptions& options) {
    const std::vector<RecordedBlock> layout = recordingLayout(blocks, options);
    return (layout.empty() ? 0 : layout.back().end) + kTrailingSilence;
}

bool writeTapeRecording(const std::uint8_t* image, const std::vector<TapeBlock>& blocks,
                        const SignalOptions& options, ByteSink& sink) {
    const std::uint64_t size = recordingSize(blocks, options);
    if (size > kMaxWavDataSize)
        return false;
    // Every bit lasts an even number of samples, and so does every silence and tone: the data
    // never needs a pad byte.
    const auto header = makeWavHeader(tapeWavFormat(), static_cast<std::uint32_t>(size));
    sink.write(header.data(), header.size());
    const SignalPatterns patterns(options);
    for (const TapeBlock& block : blocks) {
        patterns.silence(silenceBefore(block.leadIn), sink);
        patterns.tone(toneCycles(block.leadIn, patterns.timing()), sink);
        patterns.data(image + block.offset, block.size, sink);
    }
    patterns.silence(kTrailingSilence, sink);
    return true;
}
