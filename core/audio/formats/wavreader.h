#pragma once
// Reading a .wav recording: a RIFF/WAVE file of PCM samples (8-bit unsigned, 16, 24 or 32-bit
// signed) or 32-bit floats, mono or stereo, at 8,000 to 192,000 Hz. The "fmt " chunk may be the
// plain one, the one with an extension size, or WAVE_FORMAT_EXTENSIBLE naming PCM or float.
// Chunks are walked with their pad bytes; other chunks are skipped.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/audio/formats/recording.h"
#include "core/files/bytesource.h"

constexpr std::uint32_t kLowestWavRate = kLowestRecordingRate;
constexpr std::uint32_t kHighestWavRate = kHighestRecordingRate;

struct WavRecording {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    bool isFloat = false;
    const std::uint8_t* frames = nullptr; // the interleaved samples, inside the file's bytes
    std::size_t frameCount = 0;
};

// Finds the format and the samples of the .wav file held in `data`. Returns an empty string on
// success, otherwise a one-line description of what is wrong. Accepts any bytes.
std::string parseWav(const std::uint8_t* data, std::size_t size, WavRecording& recording);

// The samples of one channel (0 = left or mono, 1 = right) scaled to -1..1.
std::vector<float> channelSamples(const WavRecording& recording, int channel);

// The .wav file that `source` holds as a stream of frames (the chunks are walked as parseWav walks
// them); returns an empty string with `stream` set, or what is wrong.
std::string openWav(ByteSource& source, std::unique_ptr<RecordingStream>& stream);
