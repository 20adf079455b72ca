#include "core/audio/decoder/bitdetector.h"

#include <algorithm>
#include <cmath>

#include "core/audio/decoder/fullturn.h"

namespace {

struct Phasor {
    float re, im;
    void rotate(float stepCos, float stepSin) {
        const float next = re * stepCos - im * stepSin;
        im = re * stepSin + im * stepCos;
        re = next;
    }
};

Phasor phasorAt(double angle) {
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

} // namespace

void BitDetector::setBitLength(double samples) {
    bitLength_ = samples;
    const double space = -kTwoPi / samples; // one cycle per bit
    const double cosine = std::cos(space);
    const double sine = std::sin(space);
    spaceStepCos_ = static_cast<float>(cosine);
    spaceStepSin_ = static_cast<float>(sine);
    // Two cycles per bit: twice the angle.
    markStepCos_ = static_cast<float>(2 * cosine * cosine - 1);
    markStepSin_ = static_cast<float>(2 * sine * cosine);
}

// Correlates the bit that starts at `start` with both tones and hands the four sums (space re, im,
// mark re, im) to `finish`, so that each caller keeps only what it needs and its sums stay in
// registers.
template <typename Finish> auto BitDetector::sum(double start, Finish finish) const {
    const double end = start + bitLength_;
    // Positions count in 64 bits: a long recording at a high rate passes 2^31 samples.
    using Index = long long;
    const Index wanted = static_cast<Index>(std::ceil(end));
    const Index size =
        wanted > 0 ? static_cast<Index>(signal_.reach(static_cast<std::size_t>(wanted))) : 0;
    const Index first =
        std::max(static_cast<Index>(signal_.first()), static_cast<Index>(std::floor(start)));
    const Index last = std::min(size, wanted); // exclusive
    if (first >= last)
        return finish(0.0f, 0.0f, 0.0f, 0.0f);
    // The reference phase is zero at the start of the bit; sample i stands for the span [i, i+1).
    const double offset = static_cast<double>(first) + 0.5 - start;
    Phasor space = phasorAt(-kTwoPi * offset / bitLength_);
    Phasor mark = {space.re * space.re - space.im * space.im, 2 * space.re * space.im};
    float spaceRe = 0, spaceIm = 0, markRe = 0, markIm = 0;
    auto add = [&](float x) {
        spaceRe += x * space.re;
        spaceIm += x * space.im;
        markRe += x * mark.re;
        markIm += x * mark.im;
        space.rotate(spaceStepCos_, spaceStepSin_);
        mark.rotate(markStepCos_, markStepSin_);
    };
    const float* x = signal_.from(static_cast<std::size_t>(first));
    const Index count = last - first;
    // The edge samples count with the part of them that lies inside the bit.
    auto edge = [&](Index k) {
        const double i = static_cast<double>(first + k);
        const double inside = std::min(i + 1, end) - std::max(i, start);
        return x[k] * static_cast<float>(inside);
    };
    add(edge(0));
    for (Index k = 1; k < count - 1; ++k)
        add(x[k]);
    if (count > 1)
        add(edge(count - 1));
    return finish(spaceRe, spaceIm, markRe, markIm);
}

BitEnergies BitDetector::measure(double start) const {
    return sum(start, [](float spaceRe, float spaceIm, float markRe, float markIm) {
        return BitEnergies{spaceRe * spaceRe + spaceIm * spaceIm,
                           markRe * markRe + markIm * markIm};
    });
}

BitTones BitDetector::correlate(double start) const {
    return sum(start, [](float spaceRe, float spaceIm, float markRe, float markIm) {
        return BitTones{{spaceRe, spaceIm}, {markRe, markIm}};
    });
}
