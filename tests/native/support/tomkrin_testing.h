#pragma once
// Helpers for the tomkrin tests: a synthetic game tape and a fixture that runs the command line
// in-process inside a folder of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "cli/tomkrin/tomkrin.h"
#include "core/level/blockcatalog.h"
#include "core/level/levelcodec.h"
#include "core/tape/levelslots.h"
#include "tests/native/support/cas2wav_testing.h"

namespace tomkrin_testing {

using cas2wav_testing::Bytes;

// The game's body of standard level n: block codes in the cells, a title of capitals, two
// monsters walking and two unused, and nearly every byte different from its neighbours and
// from the same byte of the other levels.
inline Bytes levelBody(unsigned n) {
    constexpr std::size_t kCells = kColumns * kRows, kTitleEnd = kCells + kTitleLength;
    Bytes body(kLevelBodySize, 0xFF);
    for (std::size_t i = 0; i < kCells; ++i)
        body[i] = static_cast<std::uint8_t>(block[(i * 7 + n * 11) % kBlockCount].code);
    for (std::size_t i = kCells; i < kTitleEnd; ++i)
        body[i] = static_cast<std::uint8_t>('A' + (i + n) % 26);
    const Bytes monsters = {0x18, 0x20, 0x60, 0x20, 2, 0x09, 5, 0x30, 0x08, 0x30, 0x50, 3, 0x0F, 8};
    std::copy(monsters.begin(), monsters.end(), body.begin() + kTitleEnd);
    body[kLevelBodySize - 2] = static_cast<std::uint8_t>(n);
    body[kLevelBodySize - 1] = static_cast<std::uint8_t>(n * 8);
    return body;
}

// A BASIC loader, then a binary file whose data block holds the 20 levels at 23438 + 486 x N,
// then a few bytes more.
inline Bytes makeGameTape() {
    using namespace cas2wav_testing;
    Bytes tape;
    appendTapeBlock(tape, fileHeader(kBasicFileId, "LOADER"));
    appendTapeBlock(tape, countingBytes(40));
    appendTapeBlock(tape, fileHeader(kBinaryFileId, "TKGAME"));
    appendTapeBlock(tape, {0x00, 0x80, 0xFF, 0xEF, 0x00, 0x80});
    tape.resize(kFirstStandardLevelOffset, 0x55);
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        const Bytes body = levelBody(n);
        tape.insert(tape.end(), body.begin(), body.end());
    }
    tape.insert(tape.end(), 100, 0xAA);
    return tape;
}

class TomkrinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("tomkrin_" + std::to_string(::getpid()) + "_" + test->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        cas2wav_testing::writeFileBytes(path(name), bytes);
        return path(name);
    }
    Bytes read(const std::string& name) const { return cas2wav_testing::readFileBytes(path(name)); }

    // Runs `tomkrin WORDS...`; the output and error text are kept in out_ and err_.
    int run(const std::vector<std::string>& words) {
        std::vector<const char*> argv = {"tomkrin"};
        for (const std::string& word : words)
            argv.push_back(word.c_str());
        out_.str("");
        err_.str("");
        return runTomkrin(static_cast<int>(argv.size()), argv.data(), out_, err_, false);
    }

    // A failure is one line naming the file, with exit status 1.
    void expectFailure(int status, const std::string& file) {
        EXPECT_EQ(status, 1);
        const std::string message = err_.str();
        EXPECT_EQ(message.rfind("tomkrin: " + file + ": ", 0), 0u) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
    std::ostringstream out_, err_;
};

} // namespace tomkrin_testing
