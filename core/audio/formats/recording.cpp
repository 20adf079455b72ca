#include "core/audio/formats/recording.h"

#include <cstring>

#include "core/audio/formats/flacreader.h"
#include "core/audio/formats/wavreader.h"

namespace {

constexpr std::size_t kId3HeaderSize = 10;

bool startsWith(const std::uint8_t* bytes, std::size_t size, const char* tag) {
    const std::size_t length = std::strlen(tag);
    return size >= length && std::memcmp(bytes, tag, length) == 0;
}

// A FLAC file begins with "fLaC", or with an ID3v2 tag that a tagging program put before it.
bool isFlac(ByteSource& source) {
    std::uint8_t head[kId3HeaderSize];
    const std::size_t got = source.read(0, head, sizeof head);
    if (startsWith(head, got, "fLaC"))
        return true;
    if (!startsWith(head, got, "ID3") || got < kId3HeaderSize)
        return false;
    // The tag's size is four bytes of seven bits each, after the 10-byte header.
    std::uint64_t tag = 0;
    for (int i = 6; i < 10; ++i)
        tag = tag << 7 | (head[i] & 0x7F);
    std::uint8_t magic[4];
    return source.read(kId3HeaderSize + tag, magic, 4) == 4 && startsWith(magic, 4, "fLaC");
}

} // namespace

std::string channelsAndRateProblem(unsigned channels, std::uint32_t sampleRate) {
    if (channels != 1 && channels != 2)
        return "it has " + std::to_string(channels) + " channels, not 1 or 2";
    if (sampleRate < kLowestRecordingRate || sampleRate > kHighestRecordingRate)
        return "its sample rate " + std::to_string(sampleRate) +
               " Hz is not within 8,000 to 192,000 Hz";
    return "";
}

std::string openRecording(ByteSource& source, std::unique_ptr<RecordingStream>& stream) {
    stream.reset();
    if (isFlac(source)) {
        if (!readsFlac())
            return "it is a FLAC file, and this build of the decoder reads no FLAC; save it as "
                   ".wav";
        return openFlac(source, stream);
    }
    std::uint8_t head[12];
    const std::size_t got = source.read(0, head, sizeof head);
    if (got < sizeof head || !startsWith(head, got, "RIFF") || std::memcmp(head + 8, "WAVE", 4))
        return "it is neither a .wav nor a .flac file (no RIFF/WAVE or fLaC header)";
    return openWav(source, stream);
}
