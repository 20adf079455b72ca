#pragma once
// The cassette signal of a tape image as a .wav file: 8-bit unsigned mono PCM at 43,200 Hz, where
// every cycle of the signal is one sine period of a whole number of samples.
//
// At 1200 baud a 0 bit is one 1200 Hz cycle (36 samples) and a 1 bit two 2400 Hz cycles (18
// samples each); at the doubled rate of 2400 baud the same at 2400 Hz and 4800 Hz (18 and 9
// samples). A byte is the 11 bits of tapebyte.h. Each block follows its lead-in: silence, then a
// tone of 1 bits (2 s and 16,000 cycles at 1200 baud for a new file, 1 s and 4,000 cycles for a
// block that continues one; twice the cycles at 2400 baud). The recording ends with 1 s of silence.
#include <cstdint>
#include <vector>

#include "core/files/bytesink.h"
#include "core/tape/casblocks.h"
#include "core/audio/formats/wavheader.h"

constexpr std::uint32_t kTapeSampleRate = 43200;
constexpr std::uint8_t kSilenceLevel = 128;
// The peak distance of the sine from the silence level: loud, with some headroom for players that
// resample.
constexpr int kSignalAmplitude = 120;

struct SignalOptions {
    bool doubleSpeed = false; // 2400 baud instead of 1200
    bool inverted = false;    // every cycle starts downwards instead of upwards
};

WavFormat tapeWavFormat();

// Where a block sounds in the recording, in samples from the recording's first: its silence, its
// lead-in tone from `tone`, its bytes from `data` up to `end`.
struct RecordedBlock {
    std::uint64_t silence;
    std::uint64_t tone;
    std::uint64_t data;
    std::uint64_t end;
};

// Where each of `blocks` sounds in their recording, in order.
std::vector<RecordedBlock> recordingLayout(const std::vector<TapeBlock>& blocks,
                                           const SignalOptions& options);

// The number of sample bytes in the recording of `blocks`: up to the end of the last block, and
// the closing silence.
std::uint64_t recordingSize(const std::vector<TapeBlock>& blocks, const SignalOptions& options);

// Sends the .wav header and the recording of `blocks`, whose bytes lie in `image`, to `sink`.
// Returns false, having sent nothing, when the recording is too long for a .wav file: the front
// ends then say kRecordingTooLong.
constexpr const char kRecordingTooLong[] = "too long for a .wav file";
bool writeTapeRecording(const std::uint8_t* image, const std::vector<TapeBlock>& blocks,
                        const SignalOptions& options, ByteSink& sink);
