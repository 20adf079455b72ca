#pragma once
// A tape played on a deck whose speed wobbles: wow (slow, a worn tape or a slipping belt) and
// flutter (fast, the capstan) as sinusoidal changes of the speed, each with its own depth,
// frequency and a random phase. The recording is resampled at a rate that changes along it, so
// pitch and timing move together as they do on a real deck. Used by the decoder's tests and by the
// benchmark's recordings (bench/wowtape.cpp).
#include <cmath>
#include <random>
#include <vector>

namespace wowflutter {

struct Wobble {
    double depth = 0; // the largest change of the speed, as a share of it (0.03 for ±3 %)
    double hz = 0;
};

// `signal` sampled at `inRate`, played with the speed `speed` times the nominal one changed by the
// wobbles, and sampled at `outRate`. The phases of the wobbles come from `seed`.
inline std::vector<float> play(const std::vector<float>& signal, double inRate, double outRate,
                               double speed, const std::vector<Wobble>& wobbles, unsigned seed) {
    const double twoPi = 2 * std::acos(-1.0);
    std::mt19937 random(seed);
    std::vector<double> phases;
    for (std::size_t i = 0; i < wobbles.size(); ++i)
        phases.push_back(std::uniform_real_distribution<double>(0, twoPi)(random));
    std::vector<float> out;
    if (signal.size() < 4)
        return out;
    const double last = static_cast<double>(signal.size() - 2);
    double at = 1; // in input samples
    for (std::size_t n = 0; at < last; ++n) {
        // Catmull-Rom interpolation: cheap, and clean enough for tones of a ninth of the rate.
        const std::size_t i = static_cast<std::size_t>(at);
        const double t = at - static_cast<double>(i);
        const double p0 = signal[i - 1], p1 = signal[i], p2 = signal[i + 1], p3 = signal[i + 2];
        out.push_back(static_cast<float>(
            p1 +
            0.5 * t *
                (p2 - p0 + t * (2 * p0 - 5 * p1 + 4 * p2 - p3 + t * (3 * (p1 - p2) + p3 - p0)))));
        const double seconds = static_cast<double>(n) / outRate;
        double now = 1;
        for (std::size_t w = 0; w < wobbles.size(); ++w)
            now += wobbles[w].depth * std::sin(twoPi * wobbles[w].hz * seconds + phases[w]);
        at += speed * now * inRate / outRate;
    }
    return out;
}

} // namespace wowflutter
