#pragma once
// The tape signal the decoder listens to: one channel of the recording, or both added, with any
// constant or slowly wandering offset (DC) taken out.
#include <string>
#include <vector>

#include "core/audio/formats/recording.h"
#include "core/audio/decoder/signalwindow.h"
#include "core/audio/formats/wavreader.h"

enum class ChannelChoice { Best, Left, Right };

// For a stereo recording `Best` adds the two channels when they carry the same signal (subtracting
// one when it is inverted), which halves the noise that differs between them; otherwise it takes
// the louder channel, as one of them is then empty or carries something else.
std::vector<float> tapeSignal(const WavRecording& recording, ChannelChoice choice);

// The same signal from a recording read as a stream, sample for sample the one tapeSignal gives:
// with `Best` on a stereo recording, a first pass over the recording weighs the two channels
// (only sums are kept), then the recording is read again.
class TapeSignalStream : public SampleSource {
  public:
    TapeSignalStream(RecordingStream& recording, ChannelChoice choice);

    // Weighs the channels where that is needed; false when the recording cannot be read (its
    // `failure` says why).
    bool prepare();
    std::size_t pull(float* out, std::size_t count) override;
    // The share of the work of reading the recording done so far, both passes counted.
    double progress() const;

  private:
    struct OffsetFilter {
        double pole = 0;
        double previousIn = 0;
        double out = 0;
        bool started = false;
        float next(float sample);
    };
    enum class Take { One, Sum };

    std::size_t readFrames(std::size_t count);
    void resetFilters();

    RecordingStream& recording_;
    ChannelChoice choice_;
    Take take_ = Take::One;
    int channel_ = 0;   // the channel taken alone
    float sign_ = 0.5f; // how the second channel is added to the first
    bool weighing_ = false;
    bool prepared_ = false;
    OffsetFilter filters_[2];
    std::vector<float> frames_;
};
