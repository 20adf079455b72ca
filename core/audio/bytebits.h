#pragma once
// The 11 bits of one byte on tape as the detector hears them: a 0 start bit, eight data bits from
// the least significant, and two 1 stop bits, each measured over one bit length from where the
// reader puts the byte's start.
#include <cstdint>

#include "core/audio/bitdetector.h"

constexpr int kBitsPerByte = 11;
constexpr int kFirstDataBit = 1;
constexpr int kDataBits = 8;

struct ByteBits {
    BitEnergies bits[kBitsPerByte];
    BitTones tones[kBitsPerByte];
    bool silent[kBitsPerByte];
    int soundingBits = 0;
    float soundingEnergy = 0; // the mean energy of the bits that sound
};

// The byte that starts at `start`; a bit whose stronger tone is weaker than `silence` is silent.
ByteBits measureByte(const BitDetector& detector, double start, float silence);

// Whether the bits `ones` frame a byte: a 0 start bit and two 1 stop bits.
inline bool framed(const bool* ones) {
    return !ones[0] && ones[kBitsPerByte - 2] && ones[kBitsPerByte - 1];
}

// The eight data bits of `ones` as a byte.
inline std::uint8_t dataByte(const bool* ones) {
    int value = 0;
    for (int i = 0; i < kDataBits; ++i)
        value |= (ones[kFirstDataBit + i] ? 1 : 0) << i;
    return static_cast<std::uint8_t>(value);
}
