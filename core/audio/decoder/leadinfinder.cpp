#include "core/audio/decoder/leadinfinder.h"

#include <array>
#include <cmath>
#include <complex>

#include "core/audio/decoder/fullturn.h"

namespace {

// The pitches listened to: each lead-in tone at 0.9, 1 and 1.1 times the nominal speed, so that
// the tone fills its group of bands at any speed, and the tones between, so that a frame of noise
// or of data spreads its energy over several groups while a lead-in fills one.
constexpr std::array<double, 8> kBandHz = {1200, 2160, 2400, 2640, 3600, 4320, 4800, 5280};

struct ToneGroup {
    std::size_t first, last; // its bands, last included
    int baud;
    double nominalHz;
};
constexpr ToneGroup kSlowTone = {1, 3, 1200, 2400}; // the lead-in at 1200 baud
constexpr ToneGroup kFastTone = {5, 7, 2400, 4800}; // the lead-in at 2400 baud

constexpr double kFrameSeconds = 0.002;  // tones 1,200 Hz apart stay apart in a 2 ms frame
constexpr std::size_t kFramesPerHop = 4; // frames overlap by three quarters
constexpr std::size_t kSmoothedFrames = 4;
// The share of the energy of the smoothed frames that lies in one lead-in group when a tone sounds.
constexpr double kToneShare = 0.6;
constexpr double kConfirmSeconds = 0.25; // no stretch of data is a steady tone this long
constexpr double kMeasureSeconds = 1.0;  // the frequency is measured over at most this much tone

double wrapAngle(double angle) {
    return std::remainder(angle, kTwoPi);
}

using BandPowers = std::array<double, kBandHz.size()>;

double groupPower(const BandPowers& powers, const ToneGroup& group) {
    double sum = 0;
    for (std::size_t band = group.first; band <= group.last; ++band)
        sum += powers[band];
    return sum;
}

std::size_t strongestBand(const BandPowers& powers, const ToneGroup& group) {
    std::size_t strongest = group.first;
    for (std::size_t band = group.first; band <= group.last; ++band)
        if (powers[band] > powers[strongest])
            strongest = band;
    return strongest;
}

// The lead-in group that sounds louder in `powers`, or the one of the baud rate asked for.
const ToneGroup* loudestGroup(const BandPowers& powers, int onlyBaud) {
    if (onlyBaud != 0)
        return onlyBaud == kSlowTone.baud ? &kSlowTone : &kFastTone;
    return groupPower(powers, kSlowTone) >= groupPower(powers, kFastTone) ? &kSlowTone : &kFastTone;
}

// A run of frames in which one lead-in group sounds, and the turn of the phase of its strongest
// band from frame to frame.
struct ToneRun {
    const ToneGroup* group = nullptr;
    std::size_t band = 0;
    std::size_t frames = 0;
    std::size_t start = 0;
    std::complex<double> turn; // sum of each frame's band value times the previous one's conjugate
    std::complex<double> previous;
};

} // namespace

struct LeadInFinder::Frame {
    std::array<std::complex<double>, kBandHz.size()> bands;
    std::array<double, kBandHz.size()> power;
};

LeadInFinder::LeadInFinder(SignalWindow& signal, double sampleRate, int onlyBaud)
    : signal_(signal), sampleRate_(sampleRate), onlyBaud_(onlyBaud) {
    frameLength_ = static_cast<std::size_t>(std::lround(kFrameSeconds * sampleRate));
    hop_ = std::max<std::size_t>(1, frameLength_ / kFramesPerHop);
    kernels_.resize(kBandHz.size() * frameLength_ * 2);
    for (std::size_t band = 0; band < kBandHz.size(); ++band) {
        const double step = kTwoPi * kBandHz[band] / sampleRate;
        for (std::size_t m = 0; m < frameLength_; ++m) {
            // A Hann window keeps a tone's energy out of the neighbouring bands.
            const double window = 0.5 - 0.5 * std::cos(kTwoPi * (m + 0.5) / frameLength_);
            float* kernel = &kernels_[(band * frameLength_ + m) * 2];
            kernel[0] = static_cast<float>(window * std::cos(step * m));
            kernel[1] = static_cast<float>(-window * std::sin(step * m));
        }
    }
}

LeadInFinder::Frame LeadInFinder::analyse(std::size_t at) const {
    Frame frame{};
    const float* x = signal_.from(at);
    for (std::size_t band = 0; band < kBandHz.size(); ++band) {
        const float* kernel = &kernels_[band * frameLength_ * 2];
        float re = 0, im = 0;
        for (std::size_t m = 0; m < frameLength_; ++m) {
            re += x[m] * kernel[2 * m];
            im += x[m] * kernel[2 * m + 1];
        }
        frame.bands[band] = {re, im};
        frame.power[band] = double{re} * re + double{im} * im;
    }
    return frame;
}

bool LeadInFinder::find(std::size_t from, LeadInTone& tone) const {
    const std::size_t confirmFrames =
        static_cast<std::size_t>(kConfirmSeconds * sampleRate_ / hop_);
    const std::size_t measureFrames =
        static_cast<std::size_t>(kMeasureSeconds * sampleRate_ / hop_);
    std::array<BandPowers, kSmoothedFrames> recent{};
    ToneRun run;
    std::size_t hops = 0;
    for (std::size_t at = from; signal_.reach(at + frameLength_) == at + frameLength_;
         at += hop_, ++hops) {
        // The block reader starts inside the tone that runs: what lies before it is done with.
        signal_.release(run.frames > 0 ? run.start : at);
        const Frame frame = analyse(at);
        recent[hops % kSmoothedFrames] = frame.power;
        BandPowers smoothed{};
        double total = 0;
        for (const BandPowers& powers : recent)
            for (std::size_t band = 0; band < kBandHz.size(); ++band) {
                smoothed[band] += powers[band];
                total += powers[band];
            }
        const ToneGroup* group = loudestGroup(smoothed, onlyBaud_);
        const bool sounding = hops + 1 >= kSmoothedFrames && total > 0 &&
                              groupPower(smoothed, *group) > kToneShare * total;
        if (sounding && run.frames > 0 && group == run.group) {
            run.turn += frame.bands[run.band] * std::conj(run.previous);
            ++run.frames;
        } else if (run.frames >= confirmFrames) {
            break;
        } else if (sounding) {
            run = ToneRun{group, strongestBand(smoothed, *group), 1, at, {}, {}};
        } else {
            run.frames = 0;
        }
        run.previous = frame.bands[run.band];
        if (run.frames >= measureFrames)
            break;
    }
    if (run.frames < confirmFrames)
        return false;
    // A tone of frequency w turns each band value by w times the hop (the frames' phases are
    // measured from their own starts); the band's own pitch is the nearest such turn.
    const double bandStep = kTwoPi * kBandHz[run.band] / sampleRate_ * hop_;
    const double omega = (bandStep + wrapAngle(std::arg(run.turn) - bandStep)) / hop_;
    tone.baud = run.group->baud;
    tone.speed = omega * sampleRate_ / kTwoPi / run.group->nominalHz;
    tone.start = static_cast<double>(run.start);
    tone.inside = static_cast<double>(run.start + frameLength_);
    tone.confirmed = static_cast<double>(run.start + confirmFrames * hop_);
    return true;
}
