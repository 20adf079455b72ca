// Feeds any bytes to wav2cas as a recording read as a stream, as the tool reads it: the file's
// kind told from its bytes, a FLAC file decoded by libFLAC frame by frame (its header, frames and
// checksums), the samples scaled, both channels weighed and read again, and the decoder on the
// signal that results.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/formats/recording.h"
#include "core/audio/decoder/tapesignal.h"
#include "core/files/bytesource.h"

namespace {

void fail(const char* what, unsigned long long value) {
    std::fprintf(stderr, "recording reader: %s (%llu)\n", what, value);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryBytes source(data, size);
    std::unique_ptr<RecordingStream> recording;
    if (!openRecording(source, recording).empty())
        return 0;
    const RecordingFormat format = recording->format();
    if (format.sampleRate < kLowestRecordingRate || format.sampleRate > kHighestRecordingRate)
        fail("a sample rate out of range was accepted", format.sampleRate);
    if (format.channels != 1 && format.channels != 2)
        fail("a channel count other than 1 or 2 was accepted", format.channels);
    std::vector<float> frames(512 * format.channels);
    std::uint64_t read = 0;
    while (std::size_t got = recording->read(frames.data(), 512)) {
        if (got > 512)
            fail("more frames than asked for", got);
        for (std::size_t i = 0; i < got * format.channels; ++i)
            if (!(std::fabs(frames[i]) <= 8.0f))
                fail("a sample beyond the accepted range", read + i);
        read += got;
    }
    if (recording->failure().empty() && format.frameCount > 0 && read != format.frameCount)
        fail("a whole recording gave another number of frames than its header", read);
    if (!recording->rewind())
        return 0;
    // The choice of channel comes from the length, so that the input stays a plain recording.
    TapeSignalStream signal(*recording, static_cast<ChannelChoice>(size % 3));
    if (!signal.prepare())
        return 0;
    tapeImage(decodeTape(signal, format.sampleRate, {}));
    return 0;
}
