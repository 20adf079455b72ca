#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "cli/cas2wav/cas2wavtool.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;
namespace fs = std::filesystem;

namespace {

class Cas2WavTool : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("cas2wav_" + std::to_string(::getpid()) + "_" + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Bytes image;
        appendTapeBlock(image, fileHeader(kBinaryFileId));
        appendTapeBlock(image, countingBytes(64));
        tape_ = write("game.cas", image);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir_ / name;
        writeFileBytes(path.string(), bytes);
        return path.string();
    }

    static Bytes read(const std::string& path) { return readFileBytes(path); }

    int run(std::vector<std::string> args) {
        err_.str("");
        return runConverter(std::move(args), err_);
    }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A failure says one line, beginning with the program's name, and exits non-zero.
    void expectFailureMessage(int status) {
        EXPECT_NE(status, 0);
        const std::string message = err_.str();
        EXPECT_EQ(message.rfind("cas2wav: ", 0), 0u) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }

    fs::path dir_;
    std::string tape_;
    std::ostringstream err_;
};

} // namespace

TEST_F(Cas2WavTool, ConvertsWithTheOptionsAnywhereOnTheCommandLine) {
    const std::string wav = (dir_ / "game.cas.wav").string();
    ASSERT_EQ(run({tape_, wav}), 0) << err_.str();
    const Bytes normal = read(wav);
    ASSERT_EQ(run({tape_, wav, "-2"}), 0) << err_.str();
    const Bytes fast = read(wav);
    ASSERT_EQ(run({"-2", tape_, "-i", wav}), 0) << err_.str();
    const Bytes fastInverted = read(wav);

    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(normal.size(),
              44u + 2 * 43200 + 16000 * 18 + 16 * 396 + 43200 + 4000 * 18 + 64 * 396 + 43200);
    EXPECT_EQ(fast.size(),
              44u + 2 * 43200 + 32000 * 9 + 16 * 198 + 43200 + 8000 * 9 + 64 * 198 + 43200);
    ASSERT_EQ(fastInverted.size(), fast.size());
    EXPECT_NE(fastInverted, fast);
    // Replacing the earlier outputs left no temporary file behind.
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"game.cas", "game.cas.wav"}));
}

TEST_F(Cas2WavTool, UnquotedPathsWithBlanksFromTheEditorAreJoinedAgain) {
    const Bytes image = read(tape_);
    write("my game.cas", image);
    const std::string base = (dir_ / "my").string();
    ASSERT_EQ(run({base, "game.cas", base, "game.cas.wav", "-2"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(dir_ / "my game.cas.wav"));
    // Words that do not form "PATH PATH.wav" stay an error.
    expectFailureMessage(run({base, "game.cas", base, "other.wav"}));
}

TEST_F(Cas2WavTool, WrongCommandLinesAreRefusedWithUsage) {
    const std::string wav = (dir_ / "out.wav").string();
    const std::vector<std::vector<std::string>> wrong = {
        {}, {tape_}, {"-2"}, {tape_, wav, "-x"}, {tape_, wav, "-2=on"}, {tape_, wav, "extra"}};
    for (const auto& args : wrong) {
        SCOPED_TRACE(args.size());
        expectFailureMessage(run(args));
        EXPECT_NE(err_.str().find("usage: cas2wav"), std::string::npos);
    }
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"game.cas"}));
}

TEST_F(Cas2WavTool, FailedConversionsLeaveNoFileAndAnExistingOutputUntouched) {
    const Bytes previous = {'o', 'l', 'd'};
    const std::string wav = write("out.wav", previous);
    const std::string notTape = write("notes.txt", {'n', 'o', ' ', 't', 'a', 'p', 'e'});
    const std::string empty = write("empty.cas", {});
    const std::string missing = (dir_ / "missing.cas").string();
    const std::string aDirectory = (dir_ / "folder").string();
    fs::create_directory(aDirectory);

    for (const std::string& input : {missing, notTape, empty, aDirectory}) {
        SCOPED_TRACE(input);
        expectFailureMessage(run({input, wav}));
        EXPECT_NE(err_.str().find(input), std::string::npos);
        EXPECT_EQ(read(wav), previous);
    }
    // Outputs that cannot be written: a folder that does not exist, and a folder in the way.
    expectFailureMessage(run({tape_, (dir_ / "nowhere" / "out.wav").string()}));
    expectFailureMessage(run({tape_, aDirectory}));
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"empty.cas", "folder", "game.cas",
                                                      "notes.txt", "out.wav"}));
    EXPECT_TRUE(fs::is_empty(aDirectory));
}

TEST_F(Cas2WavTool, AnOutputThatIsTheInputFileIsRefusedHoweverItIsSpelt) {
    const Bytes original = read(tape_);
    fs::create_hard_link(tape_, dir_ / "link.cas");
    const std::string other = (dir_ / "." / "game.cas").string();
    for (const std::string& output : {tape_, other, (dir_ / "link.cas").string()}) {
        SCOPED_TRACE(output);
        expectFailureMessage(run({tape_, output}));
        EXPECT_NE(err_.str().find("input file"), std::string::npos);
        EXPECT_EQ(read(tape_), original);
    }
}

TEST_F(Cas2WavTool, FilesThatLookLikeTemporaryFilesAreNotOverwritten) {
    const Bytes mine = {'k', 'e', 'e', 'p'};
    write("~0.tmp", mine);
    write("~1.tmp", mine);
    ASSERT_EQ(run({tape_, (dir_ / "out.wav").string()}), 0) << err_.str();
    EXPECT_EQ(read((dir_ / "~0.tmp").string()), mine);
    EXPECT_EQ(read((dir_ / "~1.tmp").string()), mine);
    EXPECT_EQ(filesInDir().size(), 4u);
}
