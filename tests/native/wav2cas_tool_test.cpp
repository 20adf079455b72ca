#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "cli/wav2cas/wav2castool.h"
#include "tests/native/wav2cas_testing.h"

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
    const Bytes image = binaryFile(40);
    // Into the 21st data byte: 2 s and 16,000 cycles, 16 bytes, 1 s and 4,000 cycles, 20 bytes.
    const std::size_t cut = 86400 + 288000 + 16 * 396 + 43200 + 72000 + 20 * 396 + 100;
    const std::string wav = writeRecording(image, cut);
    EXPECT_EQ(run({wav, path("out.cas")}), 1);
    EXPECT_NE(out_.str().find("block 2 ends early: the recording stops while the block still "
                              "sounds"),
              std::string::npos)
        << out_.str();
    EXPECT_EQ(cas2wav_testing::readFileBytes(path("out.cas")),
              Bytes(image.begin(), image.begin() + 32 + 20));
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
