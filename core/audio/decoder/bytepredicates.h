#pragma once
// What one byte as heard (bytebits.h) tells the block reader: whether it sounds, ends the block,
// is drowned by noise, frames, and is sure.
#include "core/audio/decoder/blockreader.h"
#include "core/audio/decoder/bytebits.h"
#include "core/audio/decoder/tonephases.h"

// The first bit of the run of silent bits that ends the byte; kTapeByteBits when the last bit
// sounds.
int silentTail(const ByteBits& byte);

// Whether the start bit and the bits after it up to `end` sound, but for the odd one lost in noise.
bool mostlySounding(const ByteBits& byte, int end);

// Whether every bit of the byte sounds the high tone, as a lead-in does.
bool allOnes(const ByteBits& byte);

// Whether so many of the byte's bits are silent that it was not heard: noise may drown a bit or
// two of a sounding byte now and then.
bool unheard(const ByteBits& byte);

// Whether the block ends at this byte, and how (`soundingBits` then says how many of its bits
// sound from the start bit on). A cut shows as a run of sounding bits from the start bit, then
// silence to the end of the byte; noise after a block sounds in a scattered bit or two.
bool endsHere(const ByteBits& byte, BlockEnd& ending, int& soundingBits);

// The bits of the byte whose stronger tone is not clearly the stronger, as where the reading has
// slipped between two bits.
int unclearBits(const ByteBits& byte);

// Whether a burst of noise drowns the byte: so many of its bits are unclear that, framed or not,
// its value is a guess: most of them, or half when it sounds louder than the block's `level`.
bool drowned(const ByteBits& byte, double level);

// Whether the byte frames by its tones' energies alone.
bool framedByEnergy(const ByteBits& byte);

// A bit told from the other value by at least this margin (tonephases.h) is sure. Noise that turns
// a bit leaves it near the line between the values far more often than far beyond it; the line
// lies where recordings a few dB above the decoder's edge still have no byte below it.
constexpr float kSureMargin = 0.3f;

// Whether the byte read as `reading` is sure: each of its bits, the start and stop bits too, told
// from the other value by at least a margin (tonephases.h).
bool sure(const ByteReading& reading);
