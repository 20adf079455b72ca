#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/formats/recording.h"
#include "core/audio/decoder/tapesignal.h"
#include "core/files/bytesource.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;

namespace {

// The samples in the given PCM or float layout, interleaved with `other` as a second channel.
Bytes encodeSamples(const std::vector<float>& left, const std::vector<float>* right, int bits,
                    bool isFloat) {
    Bytes data;
    auto put = [&](float sample) {
        if (isFloat) {
            std::uint8_t raw[4];
            std::memcpy(raw, &sample, 4);
            data.insert(data.end(), raw, raw + 4);
            return;
        }
        if (bits == 8) {
            data.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * sample)));
            return;
        }
        const double scale = std::ldexp(1.0, bits - 1) - 1;
        const auto value = static_cast<std::int64_t>(std::lround(sample * scale));
        for (int byte = 0; byte < bits / 8; ++byte)
            data.push_back(static_cast<std::uint8_t>(value >> (8 * byte)));
    };
    for (std::size_t i = 0; i < left.size(); ++i) {
        put(left[i]);
        if (right)
            put((*right)[i]);
    }
    return data;
}

std::string parseProblem(const Bytes& file) {
    WavRecording recording;
    return parseWav(file.data(), file.size(), recording);
}

} // namespace

TEST(Wav2CasWav, EveryFormatDecodesToTheSameImage) {
    const Bytes image = binaryFile(16);
    const std::vector<float> signal = encodeSignal(image);
    std::vector<float> inverted = signal;
    for (float& sample : inverted)
        sample = -sample;
    const std::vector<float> silent(signal.size(), 0.0f);
    struct Case {
        const char* what;
        std::uint16_t format;
        int bits;
        const std::vector<float>* right;
        ChannelChoice choice;
    };
    const Case cases[] = {
        {"8-bit", 1, 8, nullptr, ChannelChoice::Best},
        {"16-bit", 1, 16, nullptr, ChannelChoice::Best},
        {"24-bit", 1, 24, nullptr, ChannelChoice::Best},
        {"32-bit", 1, 32, nullptr, ChannelChoice::Best},
        {"float", 3, 32, nullptr, ChannelChoice::Best},
        {"extensible float", 0xFFFE, 32, nullptr, ChannelChoice::Best},
        {"stereo, right silent", 1, 16, &silent, ChannelChoice::Best},
        {"stereo, right inverted", 1, 16, &inverted, ChannelChoice::Best},
        {"stereo, left chosen", 1, 16, &silent, ChannelChoice::Left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file =
            wavFile(c.format, c.right ? 2 : 1, static_cast<std::uint32_t>(kEncoderRate),
                    static_cast<std::uint16_t>(c.bits),
                    encodeSamples(signal, c.right, c.bits, c.format != 1));
        WavRecording recording;
        ASSERT_EQ(parseWav(file.data(), file.size(), recording), "");
        EXPECT_EQ(recording.frameCount, signal.size());
        const std::vector<float> heard = tapeSignal(recording, c.choice);
        EXPECT_EQ(tapeImage(decodeTape(heard, recording.sampleRate, {})), image);
    }
    // The silent channel chosen on purpose holds nothing.
    const Bytes file = wavFile(1, 2, 43200, 16, encodeSamples(signal, &silent, 16, false));
    WavRecording recording;
    ASSERT_EQ(parseWav(file.data(), file.size(), recording), "");
    EXPECT_TRUE(decodeTape(tapeSignal(recording, ChannelChoice::Right), 43200, {}).empty());
}

TEST(Wav2CasWav, OddChunksAreSkippedWithTheirPadByte) {
    const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    const Bytes file = wavFile(1, 1, 8000, 16, {1, 0, 0xFF, 0x7F}, list);
    WavRecording recording;
    ASSERT_EQ(parseWav(file.data(), file.size(), recording), "");
    EXPECT_EQ(recording.frameCount, 2u);
    const std::vector<float> samples = channelSamples(recording, 0);
    EXPECT_FLOAT_EQ(samples[1], 32767 / 32768.0f);
}

TEST(Wav2CasWav, WrongFilesAreNamedInOneLine) {
    const Bytes data(64, 0x80);
    Bytes shortData = wavFile(1, 1, 44100, 8, data);
    shortData.resize(shortData.size() - 10);
    Bytes noFormat = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    Bytes cutFormat = wavFile(1, 1, 44100, 8, data);
    cutFormat.resize(30);
    const struct {
        Bytes file;
        const char* says;
    } cases[] = {
        {{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'}, "not a .wav file"},
        {noFormat, "header is truncated"},
        {cutFormat, "format chunk is truncated"},
        {shortData, "claims 64 bytes, but only 54 follow"},
        {wavFile(2, 1, 44100, 4, data), "compressed (Microsoft ADPCM)"},
        {wavFile(0x55, 1, 44100, 16, data), "compressed (MP3)"},
        {wavFile(1, 1, 44100, 12, data), "12-bit samples"},
        {wavFile(3, 1, 44100, 64, data), "64-bit floating-point"},
        {wavFile(1, 3, 44100, 16, data), "3 channels"},
        {wavFile(1, 1, 7999, 16, data), "7999 Hz"},
        {wavFile(1, 1, 192001, 16, data), "192001 Hz"},
    };
    for (const auto& c : cases) {
        const std::string problem = parseProblem(c.file);
        EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos);
    }
}

#ifdef TK_HAVE_FLAC

namespace {

// The samples of a recording read as a stream, or what is wrong with it.
std::string streamSamples(const Bytes& file, std::vector<float>& samples) {
    MemoryBytes source(file.data(), file.size());
    std::unique_ptr<RecordingStream> recording;
    std::string problem = openRecording(source, recording);
    if (!problem.empty())
        return problem;
    std::vector<float> piece(1000 * recording->format().channels);
    while (std::size_t got = recording->read(piece.data(), 1000))
        samples.insert(samples.end(), piece.begin(),
                       piece.begin() +
                           static_cast<std::ptrdiff_t>(got * recording->format().channels));
    return recording->failure();
}

} // namespace

// A FLAC file of every depth the .wav reader reads, mono or stereo, gives the samples that the .wav
// file of the same samples gives, and so the same tape; which it is, the bytes tell. A damaged or
// truncated FLAC file is named as such.
TEST(Wav2CasWav, FlacFilesGiveTheSamplesOfTheirWavFiles) {
    const Bytes image = binaryFile(16);
    const std::vector<float> whole = encodeSignal(image);
    // A second of it, from the lead-in on, for the samples.
    const std::vector<float> signal(whole.begin() + 10000, whole.begin() + 53200);
    std::vector<float> inverted = signal;
    for (float& sample : inverted)
        sample = -sample;
    for (const int bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(std::to_string(bits) + "-bit");
        const std::vector<float>* const rights[] = {nullptr, &inverted};
        for (const std::vector<float>* right : rights) {
            const unsigned channels = right ? 2 : 1;
            const double scale = bits == 8 ? 127 : std::ldexp(1.0, bits - 1) - 1;
            std::vector<std::int32_t> values;
            for (std::size_t i = 0; i < signal.size(); ++i) {
                values.push_back(static_cast<std::int32_t>(std::lround(signal[i] * scale)));
                if (right)
                    values.push_back(static_cast<std::int32_t>(std::lround((*right)[i] * scale)));
            }
            const Bytes wav = wavFile(1, static_cast<std::uint16_t>(channels), 43200,
                                      static_cast<std::uint16_t>(bits),
                                      encodeSamples(signal, right, bits, false));
            const Bytes flac = flacFile(values, channels, static_cast<unsigned>(bits), 43200);
            std::vector<float> fromWav, fromFlac;
            ASSERT_EQ(streamSamples(wav, fromWav), "");
            ASSERT_EQ(streamSamples(flac, fromFlac), "");
            EXPECT_EQ(fromFlac, fromWav);
        }
    }
    std::vector<std::int32_t> scaled;
    for (float sample : whole)
        scaled.push_back(static_cast<std::int32_t>(std::lround(sample * 32767)));
    const Bytes flac = flacFile(scaled, 1, 16, 43200);
    MemoryBytes source(flac.data(), flac.size());
    std::unique_ptr<RecordingStream> recording;
    ASSERT_EQ(openRecording(source, recording), "");
    TapeSignalStream heard(*recording, ChannelChoice::Best);
    EXPECT_EQ(tapeImage(decodeTape(heard, 43200, {})), image);

    Bytes damaged = flac;
    damaged[damaged.size() / 2] ^= 0x5A;
    std::vector<float> samples;
    EXPECT_NE(streamSamples(damaged, samples).find("damaged FLAC file"), std::string::npos);
    const Bytes cut(flac.begin(), flac.begin() + static_cast<std::ptrdiff_t>(flac.size() / 2));
    samples.clear();
    EXPECT_NE(streamSamples(cut, samples).find("truncated"), std::string::npos);
}

#endif
