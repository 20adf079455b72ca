#pragma once
// The 44-byte header of a PCM .wav file: a RIFF/WAVE container with one "fmt " and one "data"
// chunk.
#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kWavHeaderSize = 44;

struct WavFormat {
    std::uint32_t sampleRate;
    std::uint16_t channels;
    std::uint16_t bitsPerSample;
};

// The largest data chunk whose RIFF size (data size + 36, + 1 for a pad byte) fits 32 bits.
constexpr std::uint64_t kMaxWavDataSize = 0xFFFFFFFFull - 37; // even, leaving room for a pad byte

// The header for `dataSize` bytes of samples (at most kMaxWavDataSize). An odd size would need a
// pad byte after the data, which the caller then has to write.
std::array<std::uint8_t, kWavHeaderSize> makeWavHeader(const WavFormat& format,
                                                       std::uint32_t dataSize);
