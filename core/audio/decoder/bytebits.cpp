#include "core/audio/decoder/bytebits.h"

ByteBits measureByte(const BitDetector& detector, double start, float silence) {
    ByteBits byte;
    float sum = 0;
    for (int i = 0; i < kTapeByteBits; ++i) {
        byte.tones[i] = detector.correlate(start + i * detector.bitLength());
        byte.bits[i] = {energy(byte.tones[i].space), energy(byte.tones[i].mark)};
        byte.silent[i] = byte.bits[i].strongest() < silence;
        if (!byte.silent[i]) {
            sum += byte.bits[i].strongest();
            ++byte.soundingBits;
        }
    }
    byte.soundingEnergy = byte.soundingBits > 0 ? sum / static_cast<float>(byte.soundingBits) : 0;
    return byte;
}
