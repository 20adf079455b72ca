#pragma once
// The phases of the tones, bit by bit. Every bit on tape is whole cycles of its tone, started at
// the same point of the wave, so measured from the bit's start each tone comes back with the same
// phase, which the recording chain (filters, the previous bit's tail) shifts by its own amount.
// The reader learns what each tone looks like there, for a bit after a 0 bit and after a 1 bit
// (four references, each the mean of the bits it has seen), and then
//   - decides each bit coherently: by which reference, phase and all, the measured tones lie
//     nearer, which takes the noise of one quadrature component only and copes with one tone
//     coming through weaker than the other (the treble loss of a deck or sound card), where
//     comparing the tones' energies alone would not;
//   - measures the timing: a bit that starts later than the reader thinks by d bits comes back
//     turned by 2 pi k d (k = 1 cycle for a 0 bit, 2 for a 1 bit), so the turns of a byte's bits
//     against their references tell how far the byte's start is off and how fast that grows (the
//     bit length is off), more precisely than the turn from the stop to the start bit does.
#include <complex>

#include "core/audio/decoder/bytebits.h"

struct ByteReading {
    bool ones[kTapeByteBits] = {};
    // How clearly each bit was told from the other value: about 1 for a bit heard clearly, 0 for
    // one that lies on the line between the two.
    float margins[kTapeByteBits] = {};
    bool timed = false; // whether `offset` and `drift` were measured
    double offset = 0;  // how many bits later than the reader's start the byte's bits start
    double drift = 0;   // by how much each bit is longer than the reader's bit length, in bits
};

class ToneReferences {
  public:
    void reset();
    // One bit of the lead-in tone: a 1 bit after a 1 bit.
    void learnLeadIn(const BitTones& tones);
    // The byte's bits and timing, from the references learnt so far.
    ByteReading read(const ByteBits& byte) const;
    // Whether every reference holds enough bits to decide by: until then read() decides bits by
    // their tones' energies, whose margins are weaker.
    bool trusted() const;
    // As read(), once the block is read: the references decide from fewer bits, as a short block
    // (a file header) may end before every reference holds enough for read().
    ByteReading readAfterwards(const ByteBits& byte) const;
    // Takes the byte, read as `reading`, into the references.
    void learn(const ByteBits& byte, const ByteReading& reading);
    // The reader moved its timing `bits` later on other evidence: the references, measured from
    // where it put the bits, turn with it.
    void shift(double bits);

  private:
    struct Reference {
        std::complex<float> space, mark;
        int count = 0;
        void add(std::complex<float> spaceTone, std::complex<float> markTone);
    };
    bool fitTiming(const ByteBits& byte, const bool* ones, double& offset, double& drift) const;
    void decideCoherently(const ByteBits& byte, double offset, double drift, int decidingBits,
                          bool* ones, float* margins) const;
    ByteReading readFrom(const ByteBits& byte, int decidingBits) const;

    Reference references_[2][2]; // by the bit before, then the bit
};
