#pragma once
// The timing of the bits of a block: where a start bit lies, how the tones' phases drift along a
// byte, and the start bits followed when the phases do not time the bytes.
#include "core/audio/decoder/bitdetector.h"
#include "core/audio/decoder/bytebits.h"

// The position near `around` (within `range` bits) where the signal turns from a 1 bit to a 0 bit
// most clearly: the bit before it sounds the high tone and the bit from it the low one.
double alignStartBit(const BitDetector& detector, double around, double range);

// How much longer the bits of the byte are than the bit length they were read with, as a share of
// it, from how the phase of each tone drifts from bit to bit.
double phaseDrift(const ByteBits& byte);

// The bit length that followed the start bit expected at `expected`, and where it is, as the
// reader follows the start bits when the tones' phases do not time the bytes.
double followStartBitOf(BitDetector& detector, double expected, double nominalBit);
