#include "tape/leadinfinder.h"

#include <array>
#include <cmath>
#include <complex>

namespace {

const double kTwoPi = 2.0 * std::acos(-1.0);

// The pitches listened to: the lead-in tones of both rates and the tones next to them, so that a
// frame of noise or of data spreads its energy over several bands while a lead-in fills one.
constexpr std::array<double, 4> kBandHz = {1200, 2400, 3600, 4800};
constexpr std::size_t kSlowToneBand = 1; // the lead-in at 1200 baud
constexpr std::size_t kFastToneBand = 3; // the lead-in at 2400 baud
constexpr double kFrameSeconds = 0.002;  // the bands (1,200 Hz apart) stay apart in a 2 ms frame
constexpr std::size_t kFramesPerHop = 4; // frames overlap by three quarters
constexpr std::size_t kSmoothedFrames = 4;
// The share of the energy of the smoothed frames that lies in one lead-in band when a tone sounds.
constexpr double kToneShare = 0.6;
constexpr double kConfirmSeconds = 0.25; // no stretch of data is a steady tone this long
constexpr double kMeasureSeconds = 1.0;  // the frequency is measured over at most this much tone

double wrapAngle(double angle) {
    return std::remainder(angle, kTwoPi);
}

} // namespace

struct LeadInFinder::Frame {
    std::array<std::complex<double>, kBandHz.size()> bands;
    std::array<double, kBandHz.size()> power;
};

LeadInFinder::LeadInFinder(const std::vector<float>& signal, double sampleRate, int onlyBaud)
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
    const float* x = signal_.data() + at;
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
    const std::size_t confirmHops = static_cast<std::size_t>(kConfirmSeconds * sampleRate_ / hop_);
    const std::size_t measureHops = static_cast<std::size_t>(kMeasureSeconds * sampleRate_ / hop_);
    std::array<std::array<double, kBandHz.size()>, kSmoothedFrames> recent{};
    std::size_t band = 0;      // the lead-in band of the current run of tone frames
    std::size_t run = 0;       // frames in that run
    std::size_t runStart = 0;  // sample position of the run's first frame
    std::complex<double> turn; // sum of each frame's band value times the previous one's conjugate
    std::complex<double> previous;
    std::size_t hops = 0;
    for (std::size_t at = from; at + frameLength_ <= signal_.size(); at += hop_, ++hops) {
        const Frame frame = analyse(at);
        recent[hops % kSmoothedFrames] = frame.power;
        std::array<double, kBandHz.size()> smoothed{};
        double total = 0;
        for (const auto& powers : recent)
            for (std::size_t b = 0; b < kBandHz.size(); ++b) {
                smoothed[b] += powers[b];
                total += powers[b];
            }
        std::size_t candidate =
            smoothed[kSlowToneBand] >= smoothed[kFastToneBand] ? kSlowToneBand : kFastToneBand;
        if (onlyBaud_ == 1200)
            candidate = kSlowToneBand;
        else if (onlyBaud_ == 2400)
            candidate = kFastToneBand;
        const bool sounding =
            hops + 1 >= kSmoothedFrames && total > 0 && smoothed[candidate] > kToneShare * total;
        const bool confirmed = run >= confirmHops;
        if (sounding && run > 0 && candidate == band) {
            turn += frame.bands[band] * std::conj(previous);
            ++run;
        } else if (confirmed) {
            break;
        } else if (sounding) {
            band = candidate;
            run = 1;
            runStart = at;
            turn = 0;
        } else {
            run = 0;
        }
        previous = frame.bands[band];
        if (run >= measureHops)
            break;
    }
    if (run < confirmHops)
        return false;
    // A tone of frequency w turns each band value by w times the hop (the frames' phases are
    // measured from their own starts); the band's own pitch is the nearest such turn.
    const double bandStep = kTwoPi * kBandHz[band] / sampleRate_ * hop_;
    const double omega = (bandStep + wrapAngle(std::arg(turn) - bandStep)) / hop_;
    const double hz = omega * sampleRate_ / kTwoPi;
    tone.baud = band == kSlowToneBand ? 1200 : 2400;
    tone.speed = hz / kBandHz[band];
    tone.start = static_cast<double>(runStart);
    tone.inside = static_cast<double>(runStart + frameLength_);
    tone.confirmed = static_cast<double>(runStart + confirmHops * hop_);
    return true;
}
