// Extracting levels from a tape image and inserting them back with the tomkrin command line.
#include "core/level/defaultlevel.h"
#include "core/picture/levelchunk.h"
#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"
#include "tests/native/support/tomkrin_testing.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace tomkrin_testing;

namespace {

class TomkrinLevels : public TomkrinTest {
  protected:
    void SetUp() override {
        TomkrinTest::SetUp();
        tape_ = write("game.cas", makeGameTape());
    }
    std::string tape_;
};

TEST_F(TomkrinLevels, ExtractWritesTheEditorsHeaderAndTheBodyAsTheTapeHoldsIt) {
    ASSERT_EQ(run({"extract", tape_, "19", "-o", path("l19.bin")}), 0) << err_.str();
    const Bytes file = read("l19.bin");
    ASSERT_EQ(file.size(), kLevelFileSize);
    // 0xFE, start 0xCA00 + 486 x 19 = 0xEE12, end (start + 0x1BE) AND 0xFFFF = 0xEFD0, exec 0.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 7),
              (Bytes{0xFE, 0x12, 0xEE, 0xD0, 0xEF, 0x00, 0x00}));
    EXPECT_EQ(Bytes(file.begin() + 7, file.end()), levelBody(19));
}

TEST_F(TomkrinLevels, AllTwentyLevelsGoOutAndBackByteForByte) {
    const Bytes original = read("game.cas");
    ASSERT_EQ(run({"extract", tape_, "all", "-o", path("levels")}), 0) << err_.str();
    // Into a tape whose level bodies are wiped (no longer the game's tape, so --force), each
    // level back into its slot: the original.
    Bytes wiped = original;
    std::fill(wiped.begin() + kFirstStandardLevelOffset,
              wiped.begin() + standardLevelOffset(kStandardLevelCount), 0);
    const std::string blank = write("blank.cas", wiped);
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "levels/level%02u.bin", n);
        ASSERT_EQ(run({"insert", path(name), blank, std::to_string(n), "--force"}), 0)
            << err_.str();
    }
    EXPECT_EQ(read("blank.cas"), original);
    // --address writes at the same place as the number; -o leaves the tape as it was.
    ASSERT_EQ(run({"insert", path("levels/level03.bin"), tape_, "--address", "5B8E", "-o",
                   path("new.cas")}),
              0)
        << err_.str();
    const Bytes changed = read("new.cas");
    EXPECT_EQ(Bytes(changed.begin() + kFirstStandardLevelOffset,
                    changed.begin() + kFirstStandardLevelOffset + kLevelBodySize),
              levelBody(3));
    EXPECT_EQ(read("game.cas"), original);
}

TEST_F(TomkrinLevels, EveryRefusedInsertionLeavesTheTapeByteIdentical) {
    const Bytes original = read("game.cas");
    Bytes level(493, 0x41);
    level[0] = kBloadId;
    const std::string good = write("good.bin", level);
    const std::string shortLevel = write("short.bin", Bytes(492, 0x41));
    Bytes cut(original.begin(), original.begin() + standardLevelOffset(19) + 485);
    const std::string cutTape = write("cut.cas", cut);
    const std::string notTape = write("notes.txt", Bytes(40000, 'x'));

    expectFailure(run({"insert", shortLevel, tape_, "0"}), shortLevel);
    expectFailure(run({"insert", good, tape_, "--address", "FFFF"}), tape_);
    EXPECT_NE(err_.str().find("65535"), std::string::npos) << err_.str();
    expectFailure(run({"insert", tape_, tape_, "0"}), tape_);
    expectFailure(run({"insert", good, (dir_ / "." / "game.cas").string(), "1", "-o", good}), good);
    EXPECT_EQ(read("game.cas"), original);
    // The cut tape names its length and where level 19 would end.
    expectFailure(run({"insert", good, cutTape, "19"}), cutTape);
    EXPECT_NE(err_.str().find("33157 bytes long, and level 19 ends at byte 33158"),
              std::string::npos)
        << err_.str();
    EXPECT_EQ(read("cut.cas"), cut);
    expectFailure(run({"insert", good, notTape, "0"}), notTape);
    EXPECT_EQ(read("notes.txt"), Bytes(40000, 'x'));
    // Wrong command lines are usage errors and touch nothing either.
    EXPECT_EQ(run({"insert", good, tape_, "20"}), 2);
    EXPECT_EQ(run({"insert", good, tape_, "3", "--address", "5B8E"}), 2);
    EXPECT_EQ(read("game.cas"), original);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"cut.cas", "game.cas", "good.bin",
                                                      "notes.txt", "short.bin"}));
}

TEST_F(TomkrinLevels, APictureIsNoLevelFileUnlessForced) {
    const Bytes original = read("game.cas");
    const std::string picture = write("picture.png", encodePng(renderLevel(makeDefaultLevel(), 1)));
    const std::string refusal = "tomkrin: " + picture + ": not a level file: it is a PNG picture\n";
    EXPECT_EQ(run({"insert", picture, tape_, "3"}), 1);
    EXPECT_EQ(err_.str(), refusal);
    EXPECT_EQ(read("game.cas"), original);
    EXPECT_EQ(run({"info", picture}), 1);
    EXPECT_EQ(err_.str(), refusal);
    EXPECT_EQ(out_.str(), "");

    ASSERT_EQ(run({"insert", picture, tape_, "3", "--force"}), 0) << err_.str();
    EXPECT_NE(read("game.cas"), original);
    EXPECT_EQ(run({"info", picture, "--force"}), 0) << err_.str();
}

TEST_F(TomkrinLevels, ARenderedPictureCarriesItsLevelWhereverALevelIsTaken) {
    ASSERT_EQ(run({"extract", tape_, "7", "-o", path("l7.bin")}), 0) << err_.str();
    ASSERT_EQ(run({"render", tape_ + ":7", "-o", path("l7.png")}), 0) << err_.str();
    LevelFileBytes carried{};
    std::string damage;
    ASSERT_EQ(findLevelChunk(read("l7.png"), carried, damage), LevelChunk::Found);
    EXPECT_EQ(Bytes(carried.begin(), carried.end()), read("l7.bin"));

    ASSERT_EQ(run({"insert", path("l7.bin"), tape_, "3", "-o", path("from-file.cas")}), 0);
    ASSERT_EQ(run({"insert", path("l7.png"), tape_, "3", "-o", path("from-picture.cas")}), 0)
        << err_.str();
    EXPECT_EQ(read("from-picture.cas"), read("from-file.cas"));
    ASSERT_EQ(run({"info", path("l7.bin")}), 0);
    const std::string fromFile = out_.str();
    ASSERT_EQ(run({"info", path("l7.png")}), 0) << err_.str();
    EXPECT_EQ(out_.str().substr(0, out_.str().find('\n')),
              "picture " + path("l7.png") + ", carrying the level file (493 bytes)");
    EXPECT_EQ(out_.str().substr(out_.str().find('\n')), fromFile.substr(fromFile.find('\n')));
    // Rendered again from the picture: the same picture.
    ASSERT_EQ(run({"render", path("l7.png"), "-o", path("again.png")}), 0) << err_.str();
    EXPECT_EQ(read("again.png"), read("l7.png"));
}

TEST_F(TomkrinLevels, ExtractOfAShortTapeWritesNothing) {
    Bytes cut = read("game.cas");
    cut.resize(standardLevelOffset(10));
    const std::string cutTape = write("cut.cas", cut);
    expectFailure(run({"extract", cutTape, "all", "-o", path("levels")}), cutTape);
    expectFailure(run({"extract", cutTape, "10", "-o", path("l10.bin")}), cutTape);
    EXPECT_EQ(run({"extract", cutTape, "9", "-o", cutTape}), 1);
    EXPECT_EQ(read("cut.cas"), cut);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"cut.cas", "game.cas"}));
}

} // namespace

TEST_F(TomkrinLevels, WavAndWav2CasGiveTheTapeImageBackWithTheDecodersOptions) {
    const Bytes small = wav2cas_testing::binaryFile(64);
    const std::string tape = write("small.cas", small);
    ASSERT_EQ(run({"wav", tape, path("small.wav"), "-2"}), 0) << err_.str();
    ASSERT_EQ(run({"wav2cas", "--baud", "2400", path("small.wav"), path("back.cas")}), 0)
        << err_.str();
    EXPECT_EQ(read("back.cas"), small);
    EXPECT_NE(out_.str().find("2400 baud"), std::string::npos) << out_.str();
    // Several takes of the tape before the image, as wav2cas takes them.
    ASSERT_EQ(run({"wav2cas", path("small.wav"), path("small.wav"), path("two.cas")}), 0)
        << err_.str();
    EXPECT_EQ(read("two.cas"), small);
    EXPECT_NE(out_.str().find("take 2: "), std::string::npos) << out_.str();
    // The decoder's refusals come as tomkrin's own one-line failures.
    expectFailure(run({"wav2cas", path("small.wav"), path("small.wav")}), path("small.wav"));
    EXPECT_EQ(run({"wav2cas", "--baud", "300", path("small.wav"), path("x.cas")}), 2);
}
