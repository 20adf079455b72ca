#pragma once
// The stretch of the tape signal the decoder works on. The samples come from a source a piece at
// a time and are kept only while the decoder may still look at them: it says how far back it will
// need them, and what lies before that is dropped. So the decoder's memory does not grow with the
// recording, however long it is; a hard bound (kWindowSeconds of signal) holds even against a
// caller that never says.
#include <cstddef>
#include <vector>

// Where the decoder's samples come from, in order.
class SampleSource {
  public:
    virtual ~SampleSource() = default;
    // Copies up to `count` samples into `out` and returns how many; 0 at the end of the signal.
    virtual std::size_t pull(float* out, std::size_t count) = 0;
};

// Samples already in memory.
class VectorSource : public SampleSource {
  public:
    explicit VectorSource(const std::vector<float>& samples) : samples_(samples) {}
    std::size_t pull(float* out, std::size_t count) override;

  private:
    const std::vector<float>& samples_;
    std::size_t next_ = 0;
};

// At most this much of the signal is held at once.
constexpr double kWindowSeconds = 8.0;

class SignalWindow {
  public:
    SignalWindow(SampleSource& source, double sampleRate);

    // Makes the samples up to `end` (exclusive) available as far as the signal reaches, and
    // returns how far it does: `end`, or less where the signal stops.
    std::size_t reach(std::size_t end) { return end <= loadedEnd() ? end : load(end); }
    // Sample `index`; silence outside what is held.
    float operator[](std::size_t index) const {
        return index >= base_ && index < loadedEnd() ? samples_[index - base_] : 0.0f;
    }
    // The held samples from `index` on, contiguous up to what `reach` made available; `index` must
    // be held. Valid until the next `reach`.
    const float* from(std::size_t index) const { return samples_.data() + (index - base_); }
    // The first sample still held.
    std::size_t first() const { return base_; }
    // Whether the whole signal has been read from the source; `size` is then its length.
    bool ended() const { return ended_; }
    std::size_t size() const { return loadedEnd(); }

    // The samples before `index` will not be asked for again.
    void release(std::size_t index) {
        if (index > floor_)
            floor_ = index;
    }

  private:
    std::size_t loadedEnd() const { return base_ + samples_.size(); }
    std::size_t load(std::size_t end);

    SampleSource& source_;
    std::vector<float> samples_;
    std::size_t base_ = 0;  // the index of samples_[0]
    std::size_t floor_ = 0; // what lies before may go
    std::size_t capacity_;
    bool ended_ = false;
};
