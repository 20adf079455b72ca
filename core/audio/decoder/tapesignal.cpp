#include "core/audio/decoder/tapesignal.h"

#include <algorithm>
#include <cmath>

#include "core/audio/decoder/fullturn.h"

namespace {

// Below the lowest tone of the tape (1,200 Hz at 10 % under speed) by far, so the tones pass
// unchanged while a DC offset or mains hum is taken away.
constexpr double kHighPassHz = 60.0;
// Channels this alike carry the same tape signal.
constexpr double kSameSignalCorrelation = 0.5;

double highPassPole(double sampleRate) {
    return std::exp(-kTwoPi * kHighPassHz / sampleRate);
}

void removeOffset(std::vector<float>& samples, double sampleRate) {
    if (samples.empty())
        return;
    const double pole = highPassPole(sampleRate);
    double previousIn = samples[0];
    double out = 0.0;
    for (float& sample : samples) {
        out = pole * out + sample - previousIn;
        previousIn = sample;
        sample = static_cast<float>(out);
    }
}

// The powers of two channels and their product, summed over the recording.
struct ChannelSums {
    double leftPower = 0.0;
    double rightPower = 0.0;
    double product = 0.0;
    void add(float left, float right) {
        leftPower += double{left} * left;
        rightPower += double{right} * right;
        product += double{left} * right;
    }
    double correlation() const {
        const double scale = std::sqrt(leftPower * rightPower);
        return scale > 0.0 ? product / scale : 0.0;
    }
    bool sameSignal() const { return std::fabs(correlation()) >= kSameSignalCorrelation; }
    float sign() const { return correlation() > 0.0 ? 0.5f : -0.5f; }
};

std::vector<float> bestOfTwo(std::vector<float> left, std::vector<float> right) {
    ChannelSums sums;
    for (std::size_t i = 0; i < left.size(); ++i)
        sums.add(left[i], right[i]);
    if (!sums.sameSignal())
        return sums.leftPower >= sums.rightPower ? left : right;
    const float sign = sums.sign();
    for (std::size_t i = 0; i < left.size(); ++i)
        left[i] = 0.5f * left[i] + sign * right[i];
    return left;
}

} // namespace

std::vector<float> tapeSignal(const WavRecording& recording, ChannelChoice choice) {
    const double rate = recording.sampleRate;
    if (recording.channels == 1 || choice != ChannelChoice::Best) {
        std::vector<float> samples =
            channelSamples(recording, choice == ChannelChoice::Right ? 1 : 0);
        removeOffset(samples, rate);
        return samples;
    }
    std::vector<float> left = channelSamples(recording, 0);
    std::vector<float> right = channelSamples(recording, 1);
    removeOffset(left, rate);
    removeOffset(right, rate);
    return bestOfTwo(std::move(left), std::move(right));
}

float TapeSignalStream::OffsetFilter::next(float sample) {
    if (!started) {
        previousIn = sample;
        started = true;
    }
    out = pole * out + sample - previousIn;
    previousIn = sample;
    return static_cast<float>(out);
}

TapeSignalStream::TapeSignalStream(RecordingStream& recording, ChannelChoice choice)
    : recording_(recording), choice_(choice) {
    const RecordingFormat& format = recording.format();
    if (format.channels == 2 && choice == ChannelChoice::Right)
        channel_ = 1;
    resetFilters();
}

void TapeSignalStream::resetFilters() {
    for (OffsetFilter& filter : filters_)
        filter = OffsetFilter{highPassPole(recording_.format().sampleRate)};
}

bool TapeSignalStream::prepare() {
    prepared_ = true;
    if (recording_.format().channels != 2 || choice_ != ChannelChoice::Best)
        return recording_.failure().empty();
    weighing_ = true;
    ChannelSums sums;
    constexpr std::size_t kFrames = 1 << 14;
    std::size_t got;
    while ((got = readFrames(kFrames)) > 0)
        for (std::size_t i = 0; i < got; ++i)
            sums.add(filters_[0].next(frames_[2 * i]), filters_[1].next(frames_[2 * i + 1]));
    weighing_ = false;
    if (!recording_.failure().empty() || !recording_.rewind())
        return false;
    resetFilters();
    if (sums.sameSignal()) {
        take_ = Take::Sum;
        sign_ = sums.sign();
    } else {
        channel_ = sums.leftPower >= sums.rightPower ? 0 : 1;
    }
    return true;
}

std::size_t TapeSignalStream::readFrames(std::size_t count) {
    frames_.resize(count * recording_.format().channels);
    return recording_.read(frames_.data(), count);
}

std::size_t TapeSignalStream::pull(float* out, std::size_t count) {
    if (!prepared_ && !prepare())
        return 0;
    const std::size_t got = readFrames(count);
    const unsigned channels = recording_.format().channels;
    if (take_ == Take::Sum) {
        for (std::size_t i = 0; i < got; ++i) {
            const float left = filters_[0].next(frames_[2 * i]);
            const float right = filters_[1].next(frames_[2 * i + 1]);
            out[i] = 0.5f * left + sign_ * right;
        }
        return got;
    }
    // One channel: the filter's loop without its first-sample check.
    const float* in = frames_.data() + channel_;
    OffsetFilter& filter = filters_[0];
    if (got > 0 && !filter.started) {
        filter.previousIn = in[0];
        filter.started = true;
    }
    double out0 = filter.out;
    double previousIn = filter.previousIn;
    const double pole = filter.pole;
    for (std::size_t i = 0; i < got; ++i) {
        const float sample = in[i * channels];
        out0 = pole * out0 + sample - previousIn;
        previousIn = sample;
        out[i] = static_cast<float>(out0);
    }
    filter.out = out0;
    filter.previousIn = previousIn;
    return got;
}

double TapeSignalStream::progress() const {
    const double read = recording_.progress();
    if (recording_.format().channels != 2 || choice_ != ChannelChoice::Best)
        return read;
    return prepared_ && !weighing_ ? 0.5 + 0.5 * read : 0.5 * read;
}
