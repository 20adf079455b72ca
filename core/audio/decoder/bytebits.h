#pragma once
// The 11 bits of one byte on tape (tapebyte.h) as the detector hears them, each measured over one
// bit length from where the reader puts the byte's start.
#include <cstdint>

#include "core/audio/decoder/bitdetector.h"
#include "core/audio/encoder/tapebyte.h"

struct ByteBits {
    BitEnergies bits[kTapeByteBits];
    BitTones tones[kTapeByteBits];
    bool silent[kTapeByteBits];
    int soundingBits = 0;
    float soundingEnergy = 0; // the mean energy of the bits that sound
};

// The byte that starts at `start`; a bit whose stronger tone is weaker than `silence` is silent.
ByteBits measureByte(const BitDetector& detector, double start, float silence);

// The eight data bits of `ones` as a byte.
inline std::uint8_t dataByte(const bool* ones) {
    int value = 0;
    for (int i = 0; i < kTapeByteDataBits; ++i)
        value |= (ones[kTapeByteFirstDataBit + i] ? 1 : 0) << i;
    return static_cast<std::uint8_t>(value);
}

// Whether the bits `ones` frame a byte: each is the bit the tape holds for the data bits read.
inline bool framed(const bool* ones) {
    const std::uint8_t value = dataByte(ones);
    for (int i = 0; i < kTapeByteBits; ++i)
        if (ones[i] != tapeByteBit(value, i))
            return false;
    return true;
}
