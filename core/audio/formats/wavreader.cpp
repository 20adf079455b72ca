#include "core/audio/formats/wavreader.h"

#include <algorithm>
#include <cstring>

#include "core/files/filefailure.h"

namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kFloatFormat = 3;
constexpr std::uint16_t kExtensibleFormat = 0xFFFE;
constexpr std::size_t kPlainFmtSize = 16;
constexpr std::size_t kExtensibleFmtSize = 40;
// The tail of the sub-format GUID that every PCM or float WAVE_FORMAT_EXTENSIBLE file carries
// after its two-byte format code: 0000-0010-8000-00AA00389B71.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(u16(p)) | static_cast<std::uint32_t>(u16(p + 2)) << 16;
}

bool hasTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

std::string formatName(std::uint16_t code) {
    switch (code) {
    case 2:
        return "Microsoft ADPCM";
    case 6:
        return "A-law";
    case 7:
        return "mu-law";
    case 0x11:
        return "IMA ADPCM";
    case 0x55:
        return "MP3";
    default:
        return "format code " + std::to_string(code);
    }
}

// The format code of the samples, the extensible format's sub-format taken in its place.
std::string sampleFormat(const std::uint8_t* fmt, std::size_t size, std::uint16_t& code) {
    code = u16(fmt);
    if (code != kExtensibleFormat)
        return "";
    if (size < kExtensibleFmtSize)
        return "its extensible format chunk is truncated";
    const std::uint8_t* guid = fmt + 24;
    code = u16(guid);
    if (std::memcmp(guid + 2, kGuidTail, sizeof kGuidTail) != 0)
        return "its samples are in an unknown extensible format";
    return "";
}

std::string readFormat(const std::uint8_t* fmt, std::size_t size, WavRecording& recording) {
    if (size < kPlainFmtSize)
        return "its format chunk is truncated";
    std::uint16_t code = 0;
    const std::string problem = sampleFormat(fmt, size, code);
    if (!problem.empty())
        return problem;
    recording.channels = u16(fmt + 2);
    recording.sampleRate = u32(fmt + 4);
    recording.bitsPerSample = u16(fmt + 14);
    recording.isFloat = code == kFloatFormat;
    const std::uint16_t bits = recording.bitsPerSample;
    if (code != kPcmFormat && code != kFloatFormat)
        return "its samples are compressed (" + formatName(code) + "); save it as PCM";
    if (recording.isFloat && bits != 32)
        return "it holds " + std::to_string(bits) + "-bit floating-point samples, not 32-bit";
    if (!recording.isFloat && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "it holds " + std::to_string(bits) + "-bit samples, not 8, 16, 24 or 32-bit";
    return channelsAndRateProblem(recording.channels, recording.sampleRate);
}

} // namespace

namespace {

// Where the samples of a .wav file lie, found by walking its chunks.
struct WavLayout {
    std::uint64_t dataOffset = 0;
    std::uint64_t dataSize = 0;
};

constexpr std::size_t kLongestFmtRead = 64; // more than any format chunk this reader takes

std::string walkChunks(ByteSource& source, WavRecording& recording, WavLayout& layout) {
    recording = WavRecording{};
    const std::uint64_t size = source.size();
    std::uint8_t head[12];
    if (source.read(0, head, sizeof head) < sizeof head || !hasTag(head, "RIFF") ||
        !hasTag(head + 8, "WAVE"))
        return "it is not a .wav file (no RIFF/WAVE header)";
    bool formatSeen = false;
    std::uint64_t at = 12;
    std::uint8_t chunk[8];
    while (size - at >= 8 && source.read(at, chunk, sizeof chunk) == sizeof chunk) {
        const std::uint64_t chunkSize = u32(chunk + 4);
        const std::uint64_t room = size - at - 8;
        if (hasTag(chunk, "fmt ")) {
            if (chunkSize > room)
                return "its format chunk is truncated";
            std::uint8_t fmt[kLongestFmtRead] = {};
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, sizeof fmt));
            if (source.read(at + 8, fmt, wanted) < wanted)
                return "its format chunk is truncated";
            const std::string problem =
                readFormat(fmt, static_cast<std::size_t>(chunkSize), recording);
            if (!problem.empty())
                return problem;
            formatSeen = true;
        } else if (hasTag(chunk, "data")) {
            if (!formatSeen)
                return "its data chunk comes before its format chunk";
            if (chunkSize > room)
                return "its data chunk claims " + std::to_string(chunkSize) + " bytes, but only " +
                       std::to_string(room) + " follow";
            const std::size_t frameSize =
                std::size_t{recording.channels} * (recording.bitsPerSample / 8);
            layout.dataOffset = at + 8;
            layout.dataSize = chunkSize;
            recording.frameCount = static_cast<std::size_t>(chunkSize / frameSize);
            return "";
        }
        // A chunk of odd size is followed by a pad byte.
        const std::uint64_t skip = chunkSize + (chunkSize & 1);
        if (skip > room)
            break;
        at += 8 + skip;
    }
    return formatSeen ? "it has no data chunk" : "its header is truncated (no format chunk)";
}

} // namespace

std::string parseWav(const std::uint8_t* data, std::size_t size, WavRecording& recording) {
    MemoryBytes source(data, size);
    WavLayout layout;
    const std::string problem = walkChunks(source, recording, layout);
    if (problem.empty())
        recording.frames = data + layout.dataOffset;
    return problem;
}

namespace {

float pcm8(const std::uint8_t* p) {
    return (static_cast<int>(p[0]) - 128) / 128.0f;
}

float pcm16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(u16(p)) / 32768.0f;
}

float pcm24(const std::uint8_t* p) {
    const std::uint32_t raw = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
    const std::int32_t value = static_cast<std::int32_t>(raw << 8) / 256;
    return value / 8388608.0f;
}

float pcm32(const std::uint8_t* p) {
    return static_cast<float>(static_cast<std::int32_t>(u32(p)) / 2147483648.0);
}

float float32(const std::uint8_t* p) {
    const std::uint32_t raw = u32(p);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    // A float recording that overshoots, or holds no number, must not upset the decoder.
    if (!(value > -8.0f && value < 8.0f))
        return value > 0 ? 8.0f : (value < 0 ? -8.0f : 0.0f);
    return value;
}

template <typename Sample>
void convertAll(const std::uint8_t* p, std::size_t count, std::size_t stride, float* out,
                Sample sample) {
    for (std::size_t i = 0; i < count; ++i, p += stride)
        out[i] = sample(p);
}

// `count` samples from `p` on, `stride` bytes apart, scaled to -1..1.
void convertSamples(const std::uint8_t* p, std::size_t count, std::size_t stride,
                    const WavRecording& recording, float* out) {
    switch (recording.bitsPerSample) {
    case 8:
        return convertAll(p, count, stride, out, pcm8);
    case 16:
        return convertAll(p, count, stride, out, pcm16);
    case 24:
        return convertAll(p, count, stride, out, pcm24);
    default:
        return convertAll(p, count, stride, out, recording.isFloat ? float32 : pcm32);
    }
}

} // namespace

std::vector<float> channelSamples(const WavRecording& recording, int channel) {
    const std::size_t sampleSize = recording.bitsPerSample / 8;
    const std::size_t frameSize = recording.channels * sampleSize;
    const std::uint8_t* p =
        recording.frames + (channel < recording.channels ? channel : 0) * sampleSize;
    std::vector<float> samples(recording.frameCount);
    convertSamples(p, recording.frameCount, frameSize, recording, samples.data());
    return samples;
}

namespace {

constexpr std::size_t kChunkBytes = 1 << 16;

class WavStream : public RecordingStream {
  public:
    WavStream(ByteSource& source, const WavRecording& recording, const WavLayout& layout)
        : source_(source), recording_(recording), layout_(layout),
          frameSize_(std::size_t{recording.channels} * (recording.bitsPerSample / 8)) {
        format_.sampleRate = recording.sampleRate;
        format_.channels = recording.channels;
        format_.bitsPerSample = recording.bitsPerSample;
        format_.isFloat = recording.isFloat;
        format_.frameCount = recording.frameCount;
        bytes_.resize(kChunkBytes / frameSize_ * frameSize_);
    }

    std::size_t read(float* out, std::size_t frames) override {
        const std::uint64_t left = recording_.frameCount - next_;
        const std::size_t wanted = static_cast<std::size_t>(
            std::min<std::uint64_t>({frames, left, bytes_.size() / frameSize_}));
        if (wanted == 0 || !failure_.empty())
            return 0;
        const std::size_t size = wanted * frameSize_;
        const std::size_t got =
            source_.read(layout_.dataOffset + next_ * frameSize_, bytes_.data(), size);
        if (got < size) {
            const std::string why = source_.failure();
            failure_ = FileFailure::cannotRead(why.empty() ? "it ends within its samples" : why);
            return 0;
        }
        convertSamples(bytes_.data(), wanted * recording_.channels, recording_.bitsPerSample / 8,
                       recording_, out);
        next_ += wanted;
        return wanted;
    }

    bool rewind() override {
        next_ = 0;
        return failure_.empty();
    }

    double progress() const override {
        return recording_.frameCount > 0
                   ? static_cast<double>(next_) / static_cast<double>(recording_.frameCount)
                   : 1.0;
    }

  private:
    ByteSource& source_;
    WavRecording recording_;
    WavLayout layout_;
    std::size_t frameSize_;
    std::vector<std::uint8_t> bytes_;
    std::uint64_t next_ = 0; // the next frame to read
};

} // namespace

std::string openWav(ByteSource& source, std::unique_ptr<RecordingStream>& stream) {
    WavRecording recording;
    WavLayout layout;
    const std::string problem = walkChunks(source, recording, layout);
    if (problem.empty())
        stream = std::make_unique<WavStream>(source, recording, layout);
    return problem;
}
