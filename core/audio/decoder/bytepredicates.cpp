#include "core/audio/decoder/bytepredicates.h"

#include <algorithm>

#include "core/audio/decoder/blockreaderparts.h"

// The first bit of the run of silent bits that ends the byte; kTapeByteBits when the last bit
// sounds.
int silentTail(const ByteBits& byte) {
    int first = kTapeByteBits;
    while (first > 0 && byte.silent[first - 1])
        --first;
    return first;
}

// Whether the start bit and the bits after it up to `end` sound, but for the odd one lost in noise.
bool mostlySounding(const ByteBits& byte, int end) {
    if (byte.silent[0])
        return false;
    int sounding = 0;
    for (int i = 0; i < end; ++i)
        sounding += byte.silent[i] ? 0 : 1;
    return 4 * sounding >= 3 * end;
}

bool allOnes(const ByteBits& byte) {
    for (const BitEnergies& bit : byte.bits)
        if (!bit.isOne())
            return false;
    return true;
}

// Whether so many of the byte's bits are silent that it was not heard: noise may drown a bit or
// two of a sounding byte now and then.
constexpr int kDrownedBits = 2;
bool unheard(const ByteBits& byte) {
    return byte.soundingBits < kTapeByteBits - kDrownedBits;
}

// Whether the block ends at this byte, and how. A cut shows as a run of sounding bits from the
// start bit, then silence to the end of the byte; noise after a block sounds in a scattered bit or
// two.
bool endsHere(const ByteBits& byte, BlockEnd& ending, int& soundingBits) {
    soundingBits = silentTail(byte);
    if (soundingBits >= 2 && soundingBits < kTapeByteBits - 1 && mostlySounding(byte, soundingBits))
        ending = BlockEnd::MidByte;
    else if (2 * byte.soundingBits < kTapeByteBits)
        ending = BlockEnd::Silence;
    else if (allOnes(byte))
        ending = BlockEnd::NextTone;
    else
        return false;
    return true;
}

// The bits of the byte whose stronger tone is not clearly the stronger, as where the reading has
// slipped between two bits.
int unclearBits(const ByteBits& byte) {
    int count = 0;
    for (const BitEnergies& bit : byte.bits)
        count += bit.strongest() < kClearTone * std::min(bit.space, bit.mark) ? 1 : 0;
    return count;
}

// Whether a burst of noise drowns the byte: so many of its bits are unclear that, framed or not,
// its value is a guess: most of them, or half when it sounds louder than the block. Steady noise
// leaves a bit or two unclear now and then (three or four in a byte at 3 dB, rarely), and the
// block's level follows it.
constexpr int kUnclearInDrowned = 6;
constexpr int kUnclearInLoud = 4;
constexpr float kLouderInDrowned = 1.5f;
bool drowned(const ByteBits& byte, double level) {
    const int unclear = unclearBits(byte);
    return unclear >= kUnclearInDrowned ||
           (unclear >= kUnclearInLoud && byte.soundingEnergy > kLouderInDrowned * level);
}

// Whether the byte frames by its tones' energies alone.
bool framedByEnergy(const ByteBits& byte) {
    bool ones[kTapeByteBits];
    for (int i = 0; i < kTapeByteBits; ++i)
        ones[i] = byte.bits[i].isOne();
    return framed(ones);
}

bool sure(const ByteReading& reading) {
    for (const float margin : reading.margins)
        if (margin < kSureMargin)
            return false;
    return true;
}
