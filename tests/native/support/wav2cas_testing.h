#pragma once
// Helpers for the wav2cas tests: recordings made by our encoder, shortened so that the tests stay
// quick, and degraded in-process the way a cassette and a sound card degrade them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#ifdef TK_HAVE_FLAC
#include <FLAC/stream_encoder.h>
#endif

#include "core/audio/encoder/casencoder.h"
#include "core/audio/formats/wavreader.h"
#include "core/tape/tapefiles.h"
#include "tests/native/support/cas2wav_testing.h"

namespace wav2cas_testing {

using cas2wav_testing::Bytes;

constexpr double kEncoderRate = kTapeSampleRate;

// A binary file's data block: load, end and exec addresses, then `count` bytes from `load` on.
inline Bytes binaryData(unsigned load, std::size_t count, int seed = 5) {
    const unsigned end = load + static_cast<unsigned>(count) - 1;
    Bytes data = {static_cast<std::uint8_t>(load & 0xFF), static_cast<std::uint8_t>(load >> 8),
                  static_cast<std::uint8_t>(end & 0xFF),  static_cast<std::uint8_t>(end >> 8),
                  static_cast<std::uint8_t>(load & 0xFF), static_cast<std::uint8_t>(load >> 8)};
    const Bytes bytes = cas2wav_testing::countingBytes(count, seed);
    data.insert(data.end(), bytes.begin(), bytes.end());
    return data;
}

// A binary file of a header block and a data block of `size` bytes (at least 6) of random values
// from `seed`, as a real program's bytes are, rather than counting ones.
inline Bytes randomBinaryFile(std::size_t size, unsigned seed) {
    Bytes data = binaryData(0x8000, size - 6);
    std::mt19937 random(seed);
    for (std::size_t i = 6; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(random() & 0xFF);
    Bytes image;
    appendTapeBlock(image, cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN"));
    appendTapeBlock(image, data);
    return image;
}

// A binary file of a header block and a data block of `size` bytes (at least 6: the addresses,
// which announce the rest), the markers at multiples of 8.
inline Bytes binaryFile(std::size_t size, int seed = 3) {
    Bytes image;
    appendTapeBlock(image, cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN"));
    appendTapeBlock(image, binaryData(0xC000, size - 6, seed));
    return image;
}

// A tokenised BASIC program as CSAVE writes it, its first line at `textStart`: lines 10, 20 and
// 30 of kBasicLineSize bytes each (line 20 is PRINT 0#, whose constant is eight zeros), the end
// link 0x0000 and seven zeros.
constexpr std::size_t kBasicLineSize = 16;
inline Bytes basicProgram(unsigned textStart) {
    Bytes program;
    for (unsigned line = 1; line <= 3; ++line) {
        const unsigned next = textStart + line * kBasicLineSize;
        const Bytes start = {static_cast<std::uint8_t>(next & 0xFF),
                             static_cast<std::uint8_t>(next >> 8),
                             static_cast<std::uint8_t>(line * 10), 0x00};
        program.insert(program.end(), start.begin(), start.end());
        Bytes text(kBasicLineSize - 5, 0x00);
        text[0] = 0x91; // PRINT
        text[1] = 0x20;
        if (line == 2)
            text[2] = 0x1F; // a double-precision constant: eight bytes follow, 0# all zeros
        else
            for (std::size_t i = 2; i < text.size(); ++i)
                text[i] = static_cast<std::uint8_t>('A' + i);
        program.insert(program.end(), text.begin(), text.end());
        program.push_back(0x00); // the line's end
    }
    program.insert(program.end(), 2 + kBasicTrailingZeros, 0x00);
    return program;
}

// The `count` data blocks of an ASCII file: text, and in the last block the end byte 0x1A filling
// it up.
inline std::vector<Bytes> asciiBlocks(std::size_t count) {
    std::vector<Bytes> blocks(count, Bytes(kAsciiBlockSize));
    for (std::size_t k = 0; k < count; ++k)
        for (std::size_t i = 0; i < kAsciiBlockSize; ++i)
            blocks[k][i] = static_cast<std::uint8_t>(i % 64 == 63 ? '\r' : 'A' + (i + k) % 26);
    std::fill(blocks.back().begin() + 100, blocks.back().end(), kAsciiEnd);
    return blocks;
}

// The .wav file our encoder makes of `image`.
inline Bytes encodeWav(const Bytes& image, const SignalOptions& options) {
    cas2wav_testing::MemorySink sink;
    writeTapeRecording(image.data(), readTapeBlocks(image.data(), image.size()), options, sink);
    return sink.bytes;
}

// The recording of `image` as samples from -1 to 1, with the first silence cut to a quarter second
// and the first lead-in tone to half a second (whole cycles are cut, so the tone stays whole).
inline std::vector<float> encodeSignal(const Bytes& image, const SignalOptions& options = {}) {
    const Bytes wav = encodeWav(image, options);
    std::vector<float> signal;
    for (std::size_t i = kWavHeaderSize; i < wav.size(); ++i)
        signal.push_back((wav[i] - 128) / 128.0f);
    const auto toneStart = static_cast<std::ptrdiff_t>(2 * kEncoderRate);
    const auto cutTone = static_cast<std::ptrdiff_t>(6.17 * kEncoderRate); // 14,808 cycles of 18
    signal.erase(signal.begin() + toneStart, signal.begin() + toneStart + cutTone);
    signal.erase(signal.begin(), signal.begin() + static_cast<std::ptrdiff_t>(1.75 * kEncoderRate));
    return signal;
}

// The tape played `speed` times too fast and sampled at `rate`, by linear interpolation.
inline std::vector<float> resample(const std::vector<float>& signal, double rate, double speed) {
    const double step = kEncoderRate * speed / rate;
    std::vector<float> out;
    for (double at = 0; at + 1 < static_cast<double>(signal.size()); at += step) {
        const std::size_t i = static_cast<std::size_t>(at);
        const double part = at - static_cast<double>(i);
        out.push_back(static_cast<float>(signal[i] * (1 - part) + signal[i + 1] * part));
    }
    return out;
}

// White Gaussian noise at `snrDb` below the power of the tape signal while it sounds.
inline void addNoise(std::vector<float>& signal, double snrDb, unsigned seed) {
    const double amplitude = kSignalAmplitude / 128.0;
    const double noisePower = amplitude * amplitude / 2 / std::pow(10.0, snrDb / 10);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, std::sqrt(noisePower));
    for (float& sample : signal)
        sample += static_cast<float>(noise(random));
}

// A one-pole low-pass filter, as a cheap sound card's or a worn head's treble loss.
inline void lowPass(std::vector<float>& signal, double rate, double cutoffHz) {
    const double pole = std::exp(-2 * std::acos(-1.0) * cutoffHz / rate);
    double out = 0;
    for (float& sample : signal) {
        out = pole * out + (1 - pole) * sample;
        sample = static_cast<float>(out);
    }
}

// The band of a deck and a sound card as the benchmark gives it with sox (highpass 150, lowpass
// 5000): second-order Butterworth filters, whose phase turns the tones as a real chain does.
inline void bandLimit(std::vector<float>& signal, double rate) {
    const double pi = std::acos(-1.0);
    for (const auto& [hz, high] : {std::pair{150.0, true}, std::pair{5000.0, false}}) {
        const double w = 2 * pi * hz / rate;
        const double c = std::cos(w);
        const double alpha = std::sin(w) / std::sqrt(2.0);
        const double b0 = high ? (1 + c) / 2 : (1 - c) / 2;
        const double b1 = high ? -(1 + c) : 1 - c;
        const double a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (float& sample : signal) {
            const double y = (b0 * sample + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2) / a0;
            x2 = x1;
            x1 = sample;
            y2 = y1;
            y1 = y;
            sample = static_cast<float>(y);
        }
    }
}

// Damage as a worn tape does it, the benchmark's kinds: `length` samples from `at` fall silent (a
// dropout), are cut out (a splice: the tape after it comes early), or drown in loud noise.
inline void dropOut(std::vector<float>& signal, std::size_t at, std::size_t length) {
    std::fill(signal.begin() + static_cast<std::ptrdiff_t>(at),
              signal.begin() + static_cast<std::ptrdiff_t>(at + length), 0.0f);
}
inline void cutOut(std::vector<float>& signal, std::size_t at, std::size_t length) {
    signal.erase(signal.begin() + static_cast<std::ptrdiff_t>(at),
                 signal.begin() + static_cast<std::ptrdiff_t>(at + length));
}
inline void burstOfNoise(std::vector<float>& signal, std::size_t at, std::size_t length,
                         unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> loud(0.0f, 1.5f);
    for (std::size_t i = at; i < at + length; ++i)
        signal[i] += loud(random);
}

// A RIFF/WAVE file around `data` with a "fmt " chunk of the given format code and fields.
inline Bytes wavFile(std::uint16_t format, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits, const Bytes& data, const Bytes& extraChunks = {}) {
    Bytes out;
    auto u16 = [&](unsigned v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    const bool extensible = format == 0xFFFE;
    tag("RIFF");
    u32(0); // filled below
    tag("WAVE");
    tag("fmt ");
    u32(extensible ? 40 : 16);
    u16(format);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(channels * bits / 8);
    u16(bits);
    if (extensible) {
        u16(22);
        u16(bits);
        u32(channels == 2 ? 3 : 4);
        const std::uint8_t guid[16] = {3,    0, 0,    0,    0,    0,    0x10, 0,
                                       0x80, 0, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        out.insert(out.end(), guid, guid + 16);
    }
    out.insert(out.end(), extraChunks.begin(), extraChunks.end());
    tag("data");
    u32(static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t riff = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
    return out;
}

#ifdef TK_HAVE_FLAC
// The FLAC file libFLAC's encoder makes of `channels` interleaved channels of integer samples of
// `bits` bits, with its header's sample count and MD5 signature.
inline Bytes flacFile(const std::vector<std::int32_t>& samples, unsigned channels, unsigned bits,
                      unsigned rate) {
    struct Out {
        Bytes bytes;
        std::size_t at = 0;
    } out;
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(encoder, channels);
    FLAC__stream_encoder_set_bits_per_sample(encoder, bits);
    FLAC__stream_encoder_set_sample_rate(encoder, rate);
    auto write = [](const FLAC__StreamEncoder*, const FLAC__byte buffer[], std::size_t size,
                    unsigned, unsigned, void* data) {
        Out& o = *static_cast<Out*>(data);
        if (o.bytes.size() < o.at + size)
            o.bytes.resize(o.at + size);
        std::copy(buffer, buffer + size, o.bytes.begin() + static_cast<std::ptrdiff_t>(o.at));
        o.at += size;
        return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    };
    auto seek = [](const FLAC__StreamEncoder*, FLAC__uint64 offset, void* data) {
        static_cast<Out*>(data)->at = static_cast<std::size_t>(offset);
        return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
    };
    auto tell = [](const FLAC__StreamEncoder*, FLAC__uint64* offset, void* data) {
        *offset = static_cast<Out*>(data)->at;
        return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
    };
    FLAC__stream_encoder_init_stream(encoder, write, seek, tell, nullptr, &out);
    FLAC__stream_encoder_process_interleaved(encoder, samples.data(),
                                             static_cast<unsigned>(samples.size() / channels));
    FLAC__stream_encoder_finish(encoder);
    FLAC__stream_encoder_delete(encoder);
    return out.bytes;
}
#endif

} // namespace wav2cas_testing
