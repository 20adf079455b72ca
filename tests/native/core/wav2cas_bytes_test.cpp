#include <gtest/gtest.h>

#include "core/audio/decoder/bytepredicates.h"

namespace {

// The byte `value` as heard clearly: each bit's tone far stronger than the other, all sounding.
ByteBits heard(std::uint8_t value) {
    ByteBits byte{};
    for (int i = 0; i < kTapeByteBits; ++i) {
        const bool one = tapeByteBit(value, i);
        byte.bits[i] = {one ? 0.01f : 1.0f, one ? 1.0f : 0.01f};
        byte.silent[i] = false;
    }
    byte.soundingBits = kTapeByteBits;
    byte.soundingEnergy = 1;
    return byte;
}

// The bits from `from` on fall silent.
ByteBits silentFrom(ByteBits byte, int from) {
    for (int i = from; i < kTapeByteBits; ++i) {
        byte.bits[i] = {0.001f, 0.001f};
        byte.silent[i] = true;
    }
    byte.soundingBits = from;
    return byte;
}

// The bits `from` to `to` (exclusive) about as strong in both tones, as noise leaves them.
ByteBits unclear(ByteBits byte, int from, int to) {
    for (int i = from; i < to; ++i)
        byte.bits[i] = {0.9f, 1.0f};
    return byte;
}

} // namespace

// A clear byte frames and goes on; a wrong stop bit does not frame; a byte is unheard from three
// silent bits on, not at two.
TEST(Wav2CasBytes, AClearByteFramesAndTheBlockGoesOn) {
    const ByteBits byte = heard(0xA5);
    BlockEnd ending = BlockEnd::Silence;
    int sounding = 0;
    EXPECT_TRUE(framedByEnergy(byte));
    EXPECT_FALSE(endsHere(byte, ending, sounding));
    EXPECT_EQ(unclearBits(byte), 0);
    EXPECT_FALSE(drowned(byte, 1));
    ByteBits wrongStop = byte;
    std::swap(wrongStop.bits[10].space, wrongStop.bits[10].mark);
    EXPECT_FALSE(framedByEnergy(wrongStop));
    EXPECT_FALSE(unheard(silentFrom(byte, kTapeByteBits - 2)));
    EXPECT_TRUE(unheard(silentFrom(byte, kTapeByteBits - 3)));
}

// How a block ends: a byte cut after its first bits ends mid-byte, one silent throughout ends in
// silence, one of 1 bits alone is the next lead-in; a last stop bit that is cut ends nothing.
TEST(Wav2CasBytes, TheBlockEndsAsItsLastByteSounds) {
    BlockEnd ending = BlockEnd::Silence;
    int sounding = 0;
    EXPECT_TRUE(endsHere(silentFrom(heard(0x3C), 5), ending, sounding));
    EXPECT_EQ(ending, BlockEnd::MidByte);
    EXPECT_EQ(sounding, 5);
    EXPECT_TRUE(endsHere(silentFrom(heard(0x3C), 0), ending, sounding));
    EXPECT_EQ(ending, BlockEnd::Silence);
    ByteBits tone = heard(0xFF);
    tone.bits[0] = {0.01f, 1.0f};
    EXPECT_TRUE(endsHere(tone, ending, sounding));
    EXPECT_EQ(ending, BlockEnd::NextTone);
    EXPECT_FALSE(endsHere(silentFrom(heard(0x3C), kTapeByteBits - 1), ending, sounding));
}

// Noise drowns a byte with six unclear bits, or with four when it sounds louder than the block;
// a byte is sure only when every bit's margin is.
TEST(Wav2CasBytes, NoiseDrownsAByteAndMarginsMakeItUnsure) {
    EXPECT_TRUE(drowned(unclear(heard(0x00), 0, 6), 1));
    EXPECT_FALSE(drowned(unclear(heard(0x00), 0, 5), 1));
    ByteBits loud = unclear(heard(0x00), 0, 4);
    EXPECT_FALSE(drowned(loud, 1));
    loud.soundingEnergy = 2;
    EXPECT_TRUE(drowned(loud, 1));
    ByteReading reading;
    for (float& margin : reading.margins)
        margin = 0.5f;
    EXPECT_TRUE(sure(reading));
    reading.margins[10] = 0.1f;
    EXPECT_FALSE(sure(reading));
}
