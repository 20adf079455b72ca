#include "core/audio/decoder/signalwindow.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples are taken from the source in pieces of this many.
constexpr std::size_t kPiece = 1 << 14;

} // namespace

std::size_t VectorSource::pull(float* out, std::size_t count) {
    const std::size_t n = std::min(count, samples_.size() - next_);
    std::copy(samples_.begin() + static_cast<std::ptrdiff_t>(next_),
              samples_.begin() + static_cast<std::ptrdiff_t>(next_ + n), out);
    next_ += n;
    return n;
}

SignalWindow::SignalWindow(SampleSource& source, double sampleRate)
    : source_(source),
      capacity_(
          std::max(kPiece, static_cast<std::size_t>(std::lround(kWindowSeconds * sampleRate)))) {}

std::size_t SignalWindow::load(std::size_t end) {
    while (loadedEnd() < end && !ended_) {
        if (samples_.size() + kPiece > capacity_) {
            // Drop what the decoder no longer needs; past the bound, the oldest samples go anyway.
            const std::size_t keepFrom =
                std::max({base_, std::min(floor_, loadedEnd()), loadedEnd() + kPiece - capacity_});
            const std::size_t drop = std::min(keepFrom - base_, samples_.size());
            samples_.erase(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(drop));
            base_ += drop;
        }
        const std::size_t held = samples_.size();
        samples_.resize(held + kPiece);
        const std::size_t got = source_.pull(samples_.data() + held, kPiece);
        samples_.resize(held + got);
        if (got == 0)
            ended_ = true;
    }
    return std::min(end, loadedEnd());
}
