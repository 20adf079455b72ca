// Feeds any bytes to wav2cas as a .wav file: the chunk walk and format checks, the conversion of
// the samples of each channel, the same file read as a stream (which must give the same samples),
// and the decoder on the signal that results.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/formats/recording.h"
#include "core/audio/decoder/tapesignal.h"
#include "core/audio/formats/wavreader.h"
#include "core/files/bytesource.h"

namespace {

void fail(const char* what, unsigned long long value) {
    std::fprintf(stderr, "wav reader: %s (%llu)\n", what, value);
    std::abort();
}

void checkLayout(const std::uint8_t* data, std::size_t size, const WavRecording& recording) {
    if (recording.sampleRate < kLowestWavRate || recording.sampleRate > kHighestWavRate)
        fail("a sample rate out of range was accepted", recording.sampleRate);
    if (recording.channels != 1 && recording.channels != 2)
        fail("a channel count other than 1 or 2 was accepted", recording.channels);
    const std::size_t frameSize = std::size_t{recording.channels} * recording.bitsPerSample / 8;
    const std::size_t offset = static_cast<std::size_t>(recording.frames - data);
    if (recording.frames < data || offset > size ||
        recording.frameCount > (size - offset) / frameSize)
        fail("the samples reach past the end of the file", recording.frameCount);
}

void checkSamples(const WavRecording& recording) {
    for (int channel = 0; channel < recording.channels; ++channel) {
        const std::vector<float> samples = channelSamples(recording, channel);
        if (samples.size() != recording.frameCount)
            fail("not one sample per frame", samples.size());
        for (float sample : samples)
            if (!(std::fabs(sample) <= 8.0f))
                fail("a sample beyond the accepted range", channel);
    }
}

// The samples read as a stream, a piece at a time, against those of the whole file.
void checkStream(const std::uint8_t* data, std::size_t size, const WavRecording& recording) {
    MemoryBytes source(data, size);
    std::unique_ptr<RecordingStream> stream;
    if (!openRecording(source, stream).empty())
        fail("a .wav file parsed whole was refused as a stream", size);
    std::vector<std::vector<float>> channels;
    for (int channel = 0; channel < recording.channels; ++channel)
        channels.push_back(channelSamples(recording, channel));
    std::vector<float> frames(300 * recording.channels);
    std::size_t at = 0;
    while (std::size_t got = stream->read(frames.data(), 300)) {
        for (std::size_t i = 0; i < got; ++i, ++at)
            for (int channel = 0; channel < recording.channels; ++channel)
                if (at >= recording.frameCount ||
                    frames[i * recording.channels + channel] != channels[channel][at])
                    fail("the stream gave another sample than the whole file", at);
    }
    if (at != recording.frameCount)
        fail("the stream gave another number of frames", at);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WavRecording recording;
    if (!parseWav(data, size, recording).empty())
        return 0;
    checkLayout(data, size, recording);
    checkSamples(recording);
    checkStream(data, size, recording);
    // The choice of channel comes from the length, so that the input stays a plain .wav file.
    const ChannelChoice choice = static_cast<ChannelChoice>(size % 3);
    const std::vector<float> signal = tapeSignal(recording, choice);
    const std::vector<DecodedBlock> blocks = decodeTape(signal, recording.sampleRate, {});
    tapeImage(blocks);
    return 0;
}
