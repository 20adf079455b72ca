#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "cli/wav2cas/wav2castool.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;
namespace fs = std::filesystem;

namespace {

class Wav2CasTool : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("wav2cas_" + std::to_string(::getpid()) + "_" + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // The recording as the 8-bit mono .wav our encoder writes, optionally cut after `keep` samples.
    std::string writeRecording(const Bytes& image, std::size_t keep = 0) {
        Bytes wav = encodeWav(image, {});
        if (keep > 0) {
            wav.resize(kWavHeaderSize + keep);
            wav = wavFile(1, 1, 43200, 8, Bytes(wav.begin() + kWavHeaderSize, wav.end()));
        }
        cas2wav_testing::writeFileBytes(path("tape.wav"), wav);
        return path("tape.wav");
    }

    // Samples of our encoder's recording of `image` up to the end of byte `held` of its last block:
    // each block follows 2 s of silence and 16,000 cycles of tone when it starts a file, else 1 s
    // and 4,000 cycles; a byte is 11 bits of 36 samples.
    static std::size_t samplesTo(const Bytes& image, std::size_t held) {
        const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
        std::size_t samples = 0;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            samples += blocks[i].leadIn == LeadIn::Long ? 86400 + 288000 : 43200 + 72000;
            samples += 396 * (i + 1 < blocks.size() ? blocks[i].size : held);
        }
        return samples;
    }

    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        args.insert(args.begin(), "wav2cas");
        std::vector<const char*> argv;
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        return runWav2Cas(static_cast<int>(argv.size()), argv.data(), out_, err_);
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

} // namespace

TEST_F(Wav2CasTool, ReportsEachBlockAndWritesTheImage) {
    const Bytes image = binaryFile(24);
    const std::string wav = writeRecording(image);
    EXPECT_EQ(run({wav, path("out.cas")}), 0) << err_.str();
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")), image);
    EXPECT_EQ(out_.str(), "0:08.67  block 1  1200 baud  speed 1.000  16 bytes  header of binary "
                          "file \"TOMKRN\"\n"
                          "0:11.48  block 2  1200 baud  speed 1.000  24 bytes\n"
                          "2 blocks, 40 bytes, clean\n");
    EXPECT_EQ(run({"-q", wav, path("quiet.cas"), "--baud", "1200"}), 0);
    EXPECT_EQ(out_.str(), "");
    // Listening for the other rate only hears nothing.
    EXPECT_EQ(run({wav, path("none.cas"), "--baud", "2400"}), 1);
    EXPECT_NE(err_.str().find("no tape signal"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("none.cas")));
}

TEST_F(Wav2CasTool, ACutRecordingKeepsWhatCameBeforeAndFails) {
    // A data block whose header was lost: nothing tells how long it should be, so the recording
    // that stops while it sounds is all there is to go by.
    Bytes image;
    appendTapeBlock(image, cas2wav_testing::countingBytes(40));
    const std::string wav = writeRecording(image, samplesTo(image, 20) + 100);
    EXPECT_EQ(run({wav, path("out.cas")}), 1);
    EXPECT_NE(out_.str().find("block 1 ends early: the recording stops while the block still "
                              "sounds"),
              std::string::npos)
        << out_.str();
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")),
              Bytes(image.begin(), image.begin() + 8 + 20));
}

// A file's last block is judged by what its header announces: a recording that stops right after
// its last byte is whole, one that stops four bytes short names the bytes held and announced.
TEST_F(Wav2CasTool, AFileIsWholeWhenItsLastBlockHoldsWhatItsHeaderAnnounces) {
    using cas2wav_testing::fileHeader;
    Bytes binary = binaryFile(60);
    Bytes basic;
    appendTapeBlock(basic, fileHeader(kBasicFileId, "PROG  "));
    appendTapeBlock(basic, basicProgram(0x8001));
    Bytes ascii;
    appendTapeBlock(ascii, fileHeader(kAsciiFileId, "NOTES "));
    for (const Bytes& block : asciiBlocks(2))
        appendTapeBlock(ascii, block);
    const struct {
        Bytes image;
        std::size_t last; // bytes of the last block
        const char* cut;  // the report of that block cut four bytes short
    } files[] = {
        {binary, 60, "0:11.99  block 2 holds 56 of the 60 bytes that its header announces\n"},
        {basic, 3 * kBasicLineSize + 2 + kBasicTrailingZeros,
         "0:11.97  block 2 holds 53 of the 57 bytes that its header announces\n"},
        {ascii, kAsciiBlockSize,
         "0:18.80  block 3 holds 252 of the 256 bytes that its header announces\n"},
    };
    for (const auto& file : files) {
        const Bytes& image = file.image;
        std::string wav = writeRecording(image, samplesTo(image, file.last));
        EXPECT_EQ(run({wav, path("whole.cas"), "-q"}), 0) << out_.str();
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(cas2wav_testing::readFileBytes(path("whole.cas")), image);

        wav = writeRecording(image, samplesTo(image, file.last - 4));
        EXPECT_EQ(run({wav, path("cut.cas"), "-q"}), 1);
        EXPECT_EQ(out_.str(), file.cut);
        EXPECT_EQ(cas2wav_testing::readFileBytes(path("cut.cas")),
                  Bytes(image.begin(), image.end() - 4));
    }
    // Stopping in the middle of a byte of the padding after a binary file's bytes.
    binary.resize(binary.size() + 4, 0x00);
    EXPECT_EQ(run({writeRecording(binary, samplesTo(binary, 62) + 100), path("pad.cas"), "-q"}), 0);
    EXPECT_EQ(out_.str(), "");
}

TEST_F(Wav2CasTool, RefusesWhatItCannotDecode) {
    const std::string wav = writeRecording(binaryFile(8));
    EXPECT_EQ(run({wav, dir_.string() + "/./tape.wav"}), 1);
    EXPECT_NE(err_.str().find("the input file itself"), std::string::npos);
    cas2wav_testing::writeFileBytes(path("silence.wav"), wavFile(1, 1, 8000, 8, Bytes(8000, 128)));
    EXPECT_EQ(run({path("silence.wav"), path("out.cas")}), 1);
    EXPECT_EQ(err_.str().rfind("wav2cas: ", 0), 0u);
    EXPECT_EQ(run({path("missing.wav"), path("out.cas")}), 1);
    EXPECT_EQ(run({wav}), 2);
    EXPECT_EQ(run({wav, path("out.cas"), "--baud", "300"}), 2);
    EXPECT_EQ(run({wav, path("out.cas"), "--channel"}), 2);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out_.str().find("usage: wav2cas"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("out.cas")));
}

// A dropout inside a block: the report names the bytes it took and the summary counts them, the
// image holds the block at its announced length with those bytes as 0x00, and the exit status is 1.
TEST_F(Wav2CasTool, NamesTheBytesADropoutTookAndFails) {
    const Bytes image = binaryFile(200);
    Bytes wav = encodeWav(image, {});
    // 40 ms of silence from a little way into the data block's 100th byte.
    const std::size_t at = kWavHeaderSize + samplesTo(image, 100) + 20;
    std::fill_n(wav.begin() + static_cast<std::ptrdiff_t>(at), 1728, kSilenceLevel);
    cas2wav_testing::writeFileBytes(path("tape.wav"), wav);
    EXPECT_EQ(run({path("tape.wav"), path("out.cas"), "-q"}), 1);
    EXPECT_EQ(out_.str(),
              "0:12.40  block 2: bytes 100 to 104 lost in a dropout of 40 ms (filled with 0x00)\n");
    EXPECT_EQ(run({path("tape.wav"), path("out.cas")}), 1);
    EXPECT_NE(out_.str().find("2 blocks, 216 bytes, 0 framing errors, 0 blocks ending early, 5 "
                              "bytes lost in 1 damaged stretch (filled with 0x00)\n"),
              std::string::npos)
        << out_.str();
    Bytes expected = image;
    std::fill_n(expected.begin() + 32 + 100, 5, 0x00);
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")), expected);
}

// The same dropout with --report, --labels and --picture: the JSON names the lost bytes by their
// place in the image, the label track marks them in the recording, and the picture is a PNG at
// least 1,000 pixels wide.
TEST_F(Wav2CasTool, WritesTheResultAsJsonLabelsAndAPicture) {
    const Bytes image = binaryFile(200);
    Bytes wav = encodeWav(image, {});
    const std::size_t at = kWavHeaderSize + samplesTo(image, 100) + 20;
    std::fill_n(wav.begin() + static_cast<std::ptrdiff_t>(at), 1728, kSilenceLevel);
    cas2wav_testing::writeFileBytes(path("tape.wav"), wav);
    EXPECT_EQ(run({path("tape.wav"), path("out.cas"), "--report", path("r.json"), "--labels",
                   path("l.txt"), "--picture", path("p.png"), "-q"}),
              1);
    const Bytes json = cas2wav_testing::readFileBytes(path("r.json"));
    const std::string text(json.begin(), json.end());
    const std::string lost = "\"kind\": \"lost\",\n      \"length\": 5,\n      \"offset\": 132,";
    EXPECT_NE(text.find(lost), std::string::npos) << text;
    EXPECT_NE(text.find("\"clean\": false"), std::string::npos);
    const Bytes labels = cas2wav_testing::readFileBytes(path("l.txt"));
    EXPECT_NE(std::string(labels.begin(), labels.end())
                  .find("\tblock 2: bytes 100 to 104 lost in a dropout of 40 ms\n"),
              std::string::npos);
    const Bytes png = cas2wav_testing::readFileBytes(path("p.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_GE((png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19], 1000);
}

#ifdef TK_HAVE_FLAC
// A FLAC recording decodes whatever its name says; a damaged one is refused in one line that names
// it, and no tape image is written.
TEST_F(Wav2CasTool, ReadsFlacByItsBytesAndRefusesADamagedOne) {
    const Bytes image = binaryFile(24);
    const Bytes wav = encodeWav(image, {});
    std::vector<std::int32_t> samples;
    for (std::size_t i = kWavHeaderSize; i < wav.size(); ++i)
        samples.push_back(wav[i] - 128);
    Bytes flac = flacFile(samples, 1, 8, 43200);
    cas2wav_testing::writeFileBytes(path("flac.wav"), flac);
    EXPECT_EQ(run({path("flac.wav"), path("out.cas"), "-q"}), 0) << err_.str();
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")), image);
    flac[flac.size() * 3 / 4] ^= 0x5A;
    cas2wav_testing::writeFileBytes(path("bad.flac"), flac);
    EXPECT_EQ(run({path("bad.flac"), path("bad.cas")}), 1);
    EXPECT_EQ(out_.str(), "");
    const std::string refusal = err_.str();
    EXPECT_EQ(refusal.rfind("wav2cas: " + path("bad.flac") + ": it is a damaged FLAC file", 0), 0u)
        << refusal;
    EXPECT_EQ(std::count(refusal.begin(), refusal.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists(path("bad.cas")));
}
#endif

#ifdef TK_HAVE_FLAC
// Three takes of one tape, each in another format and each with a dropout at another place: a FLAC
// file, a 48 kHz stereo 24-bit .wav and our encoder's own .wav. Together they give the tape whole,
// and the report tells which takes gave the bytes each lost; a take that cannot be read fails the
// decode as a single recording would.
TEST_F(Wav2CasTool, TakesOfOneTapeInMixedFormatsAreDecodedTogether) {
    const Bytes image = binaryFile(200);
    const Bytes wav = encodeWav(image, {});
    std::vector<float> tape;
    for (std::size_t i = kWavHeaderSize; i < wav.size(); ++i)
        tape.push_back((wav[i] - 128) / 128.0f);
    // 40 ms of silence from a little way into the data block's byte `byte`, at `rate`.
    auto dropAt = [&](std::vector<float>& signal, std::size_t byte, double rate) {
        dropOut(signal, static_cast<std::size_t>((samplesTo(image, byte) + 20) * rate / 43200),
                static_cast<std::size_t>(0.04 * rate));
    };
    std::vector<float> first = tape;
    dropAt(first, 40, 43200);
    std::vector<std::int32_t> samples;
    for (const float sample : first)
        samples.push_back(static_cast<std::int32_t>(std::lround(sample * 127)));
    cas2wav_testing::writeFileBytes(path("a.flac"), flacFile(samples, 1, 8, 43200));
    std::vector<float> second = resample(tape, 48000, 1.0);
    dropAt(second, 100, 48000);
    Bytes stereo;
    for (const float sample : second) {
        const auto value = static_cast<std::int32_t>(std::lround(sample * 4000000));
        for (int channel = 0; channel < 2; ++channel)
            for (int k = 0; k < 3; ++k)
                stereo.push_back(static_cast<std::uint8_t>(value >> (8 * k) & 0xFF));
    }
    cas2wav_testing::writeFileBytes(path("b.wav"), wavFile(1, 2, 48000, 24, stereo));
    Bytes plain = wav;
    std::fill_n(plain.begin() +
                    static_cast<std::ptrdiff_t>(kWavHeaderSize + samplesTo(image, 160) + 20),
                1728, kSilenceLevel);
    cas2wav_testing::writeFileBytes(path("c.wav"), plain);
    EXPECT_EQ(run({path("a.flac"), path("b.wav"), path("c.wav"), path("out.cas"), "--report",
                   path("out.json")}),
              0)
        << out_.str() << err_.str();
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")), image);
    // The JSON names, for each block, every take that held it and where.
    const Bytes json = cas2wav_testing::readFileBytes(path("out.json"));
    const std::string text(json.begin(), json.end());
    EXPECT_NE(text.find("\"heldBy\""), std::string::npos);
    EXPECT_NE(text.find("\"recording\": \"" + path("c.wav") + "\""), std::string::npos) << text;
    EXPECT_NE(out_.str().find("take 2: " + path("b.wav") + "\n"), std::string::npos);
    EXPECT_NE(out_.str().find("block 2: bytes 38 to 46 from takes 2, 3 only"), std::string::npos)
        << out_.str();
    EXPECT_EQ(run({path("a.flac"), path("missing.wav"), path("out2.cas")}), 1);
    EXPECT_NE(err_.str().find("missing.wav"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("out2.cas")));
}
#endif
