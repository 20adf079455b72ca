#include "core/audio/decoder/tonephases.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/audio/decoder/fullturn.h"

namespace {

// A reference takes part in the timing once it holds this many bits, and in the decisions once it
// holds this many: until then a bit is decided by the energies of its tones.
constexpr int kTimingBits = 8;
constexpr int kDecidingBits = 32;
// Once the block is read, its first bytes are read again from references that hold at least this
// many bits: the mean of that many strays a quarter as far as one bit's noise, so the coherent
// decision beats the energies' even from a reference a short block (a file header) leaves half
// learnt.
constexpr int kAfterwardsBits = 16;
// The references follow the recording over about this many bits of their kind.
constexpr int kMemoryBits = 64;
// Bounds of a byte's measured timing: beyond them the reading is noise, not the tape.
constexpr double kLargestOffset = 0.3;
constexpr double kLargestDrift = 0.02;

std::complex<float> turned(std::complex<float> tone, double bits, int cycles) {
    return tone * std::polar(1.0f, static_cast<float>(kTwoPi * cycles * bits));
}

// The turn of one cycle for each bit of a byte that starts `offset` bits late and whose bits are
// `drift` bits too long: bit i is offset + drift * i late. A 0 bit's tone turns by it, a 1 bit's by
// its square.
using ByteTurns = std::array<std::complex<float>, kTapeByteBits>;
ByteTurns byteTurns(double offset, double drift) {
    ByteTurns turns;
    turns[0] = std::polar(1.0f, static_cast<float>(kTwoPi * offset));
    const std::complex<float> step = std::polar(1.0f, static_cast<float>(kTwoPi * drift));
    for (int i = 1; i < kTapeByteBits; ++i)
        turns[i] = turns[i - 1] * step;
    return turns;
}

float magnitude(std::complex<float> z) {
    return std::sqrt(energy(z));
}

// How clearly the stronger tone of a bit decided by the tones' energies stands out: 1 where the
// weaker one is silent, 0 where the two are equal.
float energyMargin(const BitEnergies& bit) {
    const float mark = std::sqrt(bit.mark);
    const float space = std::sqrt(bit.space);
    return mark + space > 0 ? std::fabs(mark - space) / (mark + space) : 0;
}

} // namespace

void ToneReferences::Reference::add(std::complex<float> spaceTone, std::complex<float> markTone) {
    ++count;
    const float share = std::max(1.0f / static_cast<float>(count), 1.0f / kMemoryBits);
    space += share * (spaceTone - space);
    mark += share * (markTone - mark);
}

void ToneReferences::reset() {
    for (auto& after : references_)
        for (Reference& reference : after)
            reference = Reference{};
}

void ToneReferences::learnLeadIn(const BitTones& tones) {
    references_[1][1].add(tones.space, tones.mark);
}

// The timing of the byte's bits against the references, given their values: bit i starts
// offset + drift * i bits later than the reader placed it.
bool ToneReferences::fitTiming(const ByteBits& byte, const bool* ones, double& offset,
                               double& drift) const {
    std::complex<double> sums[2];
    double turns[kTapeByteBits];
    double weights[kTapeByteBits] = {};
    int count = 0;
    for (int i = 0; i < kTapeByteBits; ++i) {
        const int bit = ones[i] ? 1 : 0;
        const Reference& reference = references_[i > 0 && !ones[i - 1] ? 0 : 1][bit];
        if (byte.silent[i] || reference.count < kTimingBits)
            continue;
        const std::complex<float> z = bit ? byte.tones[i].mark * std::conj(reference.mark)
                                          : byte.tones[i].space * std::conj(reference.space);
        sums[bit] += std::complex<double>(z);
        turns[i] = std::arg(z);
        weights[i] = magnitude(z) * (bit + 1) * (bit + 1);
        ++count;
    }
    // Both tones are needed: a 0 bit's turn tells the offset within half a bit either way, a 1
    // bit's twice as precisely but only within a quarter.
    if (count < 3 || std::abs(sums[0]) <= 0 || std::abs(sums[1]) <= 0)
        return false;
    const double space = -std::arg(sums[0]) / kTwoPi;
    double mark = -std::arg(sums[1]) / (2 * kTwoPi);
    mark += 0.5 * std::nearbyint((space - mark) / 0.5);
    const double spaceWeight = std::abs(sums[0]);
    const double markWeight = 4 * std::abs(sums[1]);
    const double mean = (spaceWeight * space + markWeight * mark) / (spaceWeight + markWeight);
    // A straight line through the bits' offsets, each taken in the turn nearest the mean.
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i < kTapeByteBits; ++i) {
        if (weights[i] <= 0)
            continue;
        const double cycles = ones[i] ? 2 : 1;
        double d = -turns[i] / (kTwoPi * cycles);
        d += std::nearbyint((mean - d) * cycles) / cycles;
        sw += weights[i];
        sx += weights[i] * i;
        sy += weights[i] * d;
        sxx += weights[i] * i * i;
        sxy += weights[i] * i * d;
    }
    const double spread = sxx - sx * sx / sw;
    drift = spread > 1e-3 * sw ? (sxy - sx * sy / sw) / spread : 0;
    drift = std::clamp(drift, -kLargestDrift, kLargestDrift);
    offset = std::clamp((sy - drift * sx) / sw, -kLargestOffset, kLargestOffset);
    return true;
}

// Each bit by the nearer of the two references that follow the bit before, once both are
// trusted; the byte's measured timing turns the tones back first. Its margin is how far its tones
// lie from the line halfway between the references, as a share of half their distance.
void ToneReferences::decideCoherently(const ByteBits& byte, double offset, double drift,
                                      int decidingBits, bool* ones, float* margins) const {
    const ByteTurns turns = byteTurns(offset, drift);
    int before = 1;
    for (int i = 0; i < kTapeByteBits; ++i) {
        const std::complex<float> space = byte.tones[i].space * turns[i];
        const std::complex<float> mark = byte.tones[i].mark * (turns[i] * turns[i]);
        const Reference& zero = references_[before][0];
        const Reference& one = references_[before][1];
        if (zero.count >= decidingBits && one.count >= decidingBits) {
            ones[i] = energy(space - one.space) + energy(mark - one.mark) <
                      energy(space - zero.space) + energy(mark - zero.mark);
            const std::complex<float> spaceApart = one.space - zero.space;
            const std::complex<float> markApart = one.mark - zero.mark;
            const float apart = energy(spaceApart) + energy(markApart);
            const float along =
                ((space - 0.5f * (one.space + zero.space)) * std::conj(spaceApart)).real() +
                ((mark - 0.5f * (one.mark + zero.mark)) * std::conj(markApart)).real();
            margins[i] = apart > 0 ? 2 * std::fabs(along) / apart : 0;
        }
        before = ones[i] ? 1 : 0;
    }
}

ByteReading ToneReferences::read(const ByteBits& byte) const {
    return readFrom(byte, kDecidingBits);
}

ByteReading ToneReferences::readAfterwards(const ByteBits& byte) const {
    return readFrom(byte, kAfterwardsBits);
}

bool ToneReferences::trusted() const {
    for (const auto& after : references_)
        for (const Reference& reference : after)
            if (reference.count < kDecidingBits)
                return false;
    return true;
}

ByteReading ToneReferences::readFrom(const ByteBits& byte, int decidingBits) const {
    ByteReading reading;
    for (int i = 0; i < kTapeByteBits; ++i) {
        reading.ones[i] = byte.bits[i].isOne();
        reading.margins[i] = energyMargin(byte.bits[i]);
    }
    if (!fitTiming(byte, reading.ones, reading.offset, reading.drift))
        return reading;
    decideCoherently(byte, reading.offset, reading.drift, decidingBits, reading.ones,
                     reading.margins);
    reading.timed = fitTiming(byte, reading.ones, reading.offset, reading.drift);
    if (!reading.timed)
        reading.offset = reading.drift = 0;
    return reading;
}

void ToneReferences::learn(const ByteBits& byte, const ByteReading& reading) {
    const ByteTurns turns = byteTurns(reading.offset, reading.drift);
    for (int i = 0; i < kTapeByteBits; ++i) {
        if (byte.silent[i])
            continue;
        references_[i > 0 && !reading.ones[i - 1] ? 0 : 1][reading.ones[i] ? 1 : 0].add(
            byte.tones[i].space * turns[i], byte.tones[i].mark * (turns[i] * turns[i]));
    }
}

void ToneReferences::shift(double bits) {
    for (auto& after : references_)
        for (Reference& reference : after) {
            reference.space = turned(reference.space, bits, 1);
            reference.mark = turned(reference.mark, bits, 2);
        }
}
