#pragma once
// How strongly each of the two tones of a bit sounds in one bit-long stretch of the signal.
// A 0 bit is one cycle of the low tone and a 1 bit two cycles of the high tone, at either baud
// rate and any tape speed, so over exactly one bit the two tones are orthogonal and their
// energies tell the bits apart whatever the polarity, phase or level of the signal.
#include <complex>
#include <cstddef>

#include "core/audio/decoder/signalwindow.h"

// The two tones' correlations over one bit, whose phase is measured from the bit's start.
struct BitTones {
    std::complex<float> space;
    std::complex<float> mark;
};

// The energy of a correlation (std::norm goes through a square root without -ffast-math).
inline float energy(std::complex<float> z) {
    return z.real() * z.real() + z.imag() * z.imag();
}

struct BitEnergies {
    float space = 0; // the low tone: a 0 bit
    float mark = 0;  // the high tone: a 1 bit
    float strongest() const { return space > mark ? space : mark; }
    bool isOne() const { return mark > space; }
};

class BitDetector {
  public:
    explicit BitDetector(SignalWindow& signal) : signal_(signal) {}

    // The length of one bit in samples (not a whole number in general).
    void setBitLength(double samples);
    double bitLength() const { return bitLength_; }

    // The energies in the bit that starts at sample position `start`; samples outside the
    // recording count as silence.
    BitEnergies measure(double start) const;
    // The same bit's correlations with their phases.
    BitTones correlate(double start) const;

  private:
    template <typename Finish> auto sum(double start, Finish finish) const;

    SignalWindow& signal_;
    double bitLength_ = 0;
    // Rotation per sample of each tone's reference phasor.
    float spaceStepCos_ = 1, spaceStepSin_ = 0;
    float markStepCos_ = 1, markStepSin_ = 0;
};
