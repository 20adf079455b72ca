#include "core/audio/tapesignal.h"

#include <cmath>

namespace {

// Below the lowest tone of the tape (1,200 Hz at 10 % under speed) by far, so the tones pass
// unchanged while a DC offset or mains hum is taken away.
constexpr double kHighPassHz = 60.0;
// Channels this alike carry the same tape signal.
constexpr double kSameSignalCorrelation = 0.5;

void removeOffset(std::vector<float>& samples, double sampleRate) {
    if (samples.empty())
        return;
    const double pole = std::exp(-2.0 * std::acos(-1.0) * kHighPassHz / sampleRate);
    double previousIn = samples[0];
    double out = 0.0;
    for (float& sample : samples) {
        out = pole * out + sample - previousIn;
        previousIn = sample;
        sample = static_cast<float>(out);
    }
}

std::vector<float> bestOfTwo(std::vector<float> left, std::vector<float> right) {
    double leftPower = 0.0;
    double rightPower = 0.0;
    double product = 0.0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        leftPower += double{left[i]} * left[i];
        rightPower += double{right[i]} * right[i];
        product += double{left[i]} * right[i];
    }
    const double scale = std::sqrt(leftPower * rightPower);
    const double correlation = scale > 0.0 ? product / scale : 0.0;
    if (std::fabs(correlation) < kSameSignalCorrelation)
        return leftPower >= rightPower ? left : right;
    const float sign = correlation > 0.0 ? 0.5f : -0.5f;
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
