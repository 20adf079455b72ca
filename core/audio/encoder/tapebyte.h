#pragma once
// A byte as the tape signal carries it: 11 bits, a 0 start bit, the eight data bits from the least
// significant, and two 1 stop bits. The encoder sounds them in this order; the block reader reads
// them back and counts a byte whose start or stop bits differ as a framing error.
#include <cstdint>

constexpr int kTapeByteBits = 11;
constexpr int kTapeByteFirstDataBit = 1;
constexpr int kTapeByteDataBits = 8;

// Bit `i` (0 to 10) of `value` on tape.
constexpr bool tapeByteBit(std::uint8_t value, int i) {
    if (i < kTapeByteFirstDataBit)
        return false;
    if (i >= kTapeByteFirstDataBit + kTapeByteDataBits)
        return true;
    return ((value >> (i - kTapeByteFirstDataBit)) & 1) != 0;
}
