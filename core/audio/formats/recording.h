#pragma once
// A recording read as a stream of sample frames, whatever file holds it: a RIFF/WAVE file or a
// FLAC file, told apart by their first bytes, never by the file's name. The samples come a piece
// at a time, scaled to -1..1, so that a recording of any length is read in little memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/files/bytesource.h"

constexpr std::uint32_t kLowestRecordingRate = 8000;
constexpr std::uint32_t kHighestRecordingRate = 192000;

struct RecordingFormat {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    bool isFloat = false;
    std::uint64_t frameCount = 0; // as the file announces it; 0 when it does not
};

class RecordingStream {
  public:
    virtual ~RecordingStream() = default;

    const RecordingFormat& format() const { return format_; }
    // Reads up to `frames` frames into `out`, their channels interleaved, and returns how many:
    // 0 at the end of the samples, or when the file turns out to be damaged (`failure` then says
    // how).
    virtual std::size_t read(float* out, std::size_t frames) = 0;
    // Starts again at the first frame; false (with `failure` set) when that fails.
    virtual bool rewind() = 0;
    // Empty while the file reads well; otherwise one line saying what is wrong with it.
    const std::string& failure() const { return failure_; }
    // The share of the file's bytes read so far, 0 to 1.
    virtual double progress() const = 0;

  protected:
    RecordingFormat format_;
    std::string failure_;
};

// Opens the recording that `source` holds, a .wav or a .flac file. Returns an empty string with
// `stream` set, or one line saying what the file is and why it cannot be read. `source` must
// outlive the stream.
std::string openRecording(ByteSource& source, std::unique_ptr<RecordingStream>& stream);

// Whether this build reads FLAC files (it is built with libFLAC).
bool readsFlac();

// The problem with a recording of `channels` channels at `sampleRate`, in the words of the
// readers' other messages; empty when the decoder takes it.
std::string channelsAndRateProblem(unsigned channels, std::uint32_t sampleRate);
