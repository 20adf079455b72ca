// The bad inputs of docs/bad-inputs.md, each checked for what the table says the program does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "core/level/levelcodec.h"
#include "cli/cas2wav/cas2wavtool.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;
namespace fs = std::filesystem;

namespace {

// No byte of it is zero, so a value that loads as 0 was filled in, not read.
Bytes levelFileOf(std::size_t size) {
    Bytes file(size);
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<std::uint8_t>(i % 251 + 1);
    if (size > 0)
        file[0] = kBloadId;
    return file;
}

class BadTapeImages : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("bad_inputs_" + std::to_string(::getpid()) + "_" + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        appendTapeBlock(game_, fileHeader(kBinaryFileId));
        appendTapeBlock(game_, countingBytes(64));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const fs::path& path, const Bytes& bytes) {
        fs::create_directories(path.parent_path());
        writeFileBytes(path.string(), bytes);
        return path.string();
    }

    static Bytes read(const std::string& path) { return readFileBytes(path); }

    int convert(std::vector<std::string> args) {
        err_.str("");
        return runConverter(std::move(args), err_);
    }

    // Converts `image` as "name" to "name.wav"; returns the exit status.
    int convertImage(const std::string& name, const Bytes& image) {
        const std::string path = write(dir_ / name, image);
        return convert({path, path + ".wav"});
    }

    fs::path dir_;
    Bytes game_; // a binary file: header block and one data block
    std::ostringstream err_;
};

} // namespace

TEST(BadLevelFiles, EveryLengthLoadsItsFirst493BytesWithZerosForWhatIsMissing) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{492},
                             kLevelFileSize, std::size_t{494}, std::size_t{10} << 20}) {
        SCOPED_TRACE(size);
        const Bytes file = levelFileOf(size);
        Level level;
        for (auto& slot : level.slots)
            slot = -1;
        decodeLevel(file.data(), file.size(), level);

        // Saving shows what was loaded: the file's bytes where it had them, zeros after its end.
        const LevelFileBytes saved = encodeLevel(level);
        EXPECT_EQ(saved[0], kBloadId);
        for (std::size_t i = 1; i < kLevelFileSize; ++i)
            ASSERT_EQ(saved[i], i < size ? file[i] : 0) << "byte " << i;
    }
    // The two lengths at the edge of the last value: 492 bytes lose only the man's start row.
    const Bytes short492 = levelFileOf(492);
    Level level;
    decodeLevel(short492.data(), short492.size(), level);
    EXPECT_EQ(level.manStartX(), short492[491]);
    EXPECT_EQ(level.manStartY(), 0);
}

TEST_F(BadTapeImages, ImagesWithoutAMarkerAreRefusedAndWriteNothing) {
    const Bytes cutMarker(kBlockMarker.begin(), kBlockMarker.end() - 1);
    const std::vector<std::pair<std::string, Bytes>> images = {
        {"empty.cas", {}},
        {"text.cas", {'1', '0', ' ', 'P', 'R', 'I', 'N', 'T'}},
        {"cut.cas", cutMarker}};
    for (const auto& [name, image] : images) {
        SCOPED_TRACE(name);
        EXPECT_EQ(convertImage(name, image), 1);
        EXPECT_EQ(err_.str(), "cas2wav: " + (dir_ / name).string() +
                                  ": not a tape image: it has no block marker\n");
        EXPECT_FALSE(fs::exists(dir_ / (name + ".wav")));
    }
}

TEST_F(BadTapeImages, BytesBeforeTheFirstMarkerAreLeftOutOfTheRecording) {
    ASSERT_EQ(convertImage("game.cas", game_), 0) << err_.str();
    Bytes odd = {0x55, 0x01, 0x02};
    odd.insert(odd.end(), game_.begin(), game_.end());
    ASSERT_EQ(convertImage("odd.cas", odd), 0) << err_.str();
    EXPECT_EQ(read((dir_ / "odd.cas.wav").string()), read((dir_ / "game.cas.wav").string()));
}

TEST_F(BadTapeImages, ATruncatedBlockIsRecordedAsFarAsItGoes) {
    ASSERT_EQ(convertImage("game.cas", game_), 0) << err_.str();
    const Bytes cut(game_.begin(), game_.end() - 20);
    ASSERT_EQ(convertImage("cut.cas", cut), 0) << err_.str();
    const std::size_t byteSamples = 11 * 36; // one byte at 1200 baud
    EXPECT_EQ(fs::file_size(dir_ / "game.cas.wav") - fs::file_size(dir_ / "cut.cas.wav"),
              20 * byteSamples);
    EXPECT_EQ(err_.str(), "");
}

TEST_F(BadTapeImages, PathsWithBlanksOrOfManyCharactersConvert) {
    ASSERT_EQ(convertImage("game.cas", game_), 0) << err_.str();
    const Bytes recording = read((dir_ / "game.cas.wav").string());

    // Quoted by the editor: one argument each.
    const std::string blanks = write(dir_ / "my tapes" / "my game.cas", game_);
    ASSERT_EQ(convert({blanks, blanks + ".wav"}), 0) << err_.str();
    EXPECT_EQ(read(blanks + ".wav"), recording);

    // Well over 255 characters: the converter has no path limit of its own.
    fs::path deep = dir_;
    for (char folder = 'a'; folder < 'g'; ++folder)
        deep /= std::string(50, folder);
    const std::string longPath = write(deep / "game.cas", game_);
    ASSERT_GT(longPath.size(), 300u);
    ASSERT_EQ(convert({longPath, longPath + ".wav"}), 0) << err_.str();
    EXPECT_EQ(read(longPath + ".wav"), recording);
}
