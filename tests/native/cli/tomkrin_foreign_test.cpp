// Tape images that are not the game's tape given to tomkrin: a short one whose level slots lie
// past its end, a long one of another program's bytes, and the game's own with damaged slots.
#include "tests/native/support/tomkrin_testing.h"

#include "core/level/levelcheck.h"

using namespace tomkrin_testing;

namespace {

// A loader and a binary file of `size` bytes from a fixed generator: what another program's
// tape holds where the game keeps its levels, as far as tomkrin can tell.
Bytes foreignTape(std::size_t size) {
    using namespace cas2wav_testing;
    Bytes tape;
    appendTapeBlock(tape, fileHeader(kBinaryFileId, "PROG  "));
    appendTapeBlock(tape, {0x00, 0x90, 0xFF, 0xDF, 0x00, 0x90});
    unsigned state = 12345;
    while (tape.size() < size) {
        state = state * 1103515245u + 12345u;
        tape.push_back(static_cast<std::uint8_t>(state >> 16));
    }
    return tape;
}

Bytes shortTape() {
    using namespace cas2wav_testing;
    Bytes tape;
    appendTapeBlock(tape, fileHeader(kBasicFileId, "INTRO "));
    appendTapeBlock(tape, countingBytes(3000));
    return tape;
}

// The game's tape whose first `wrecked` slots hold a body of zeros.
Bytes gameTapeWithWreckedSlots(unsigned wrecked) {
    Bytes tape = makeGameTape();
    std::fill(tape.begin() + kFirstStandardLevelOffset, tape.begin() + standardLevelOffset(wrecked),
              0);
    return tape;
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class TomkrinForeign : public TomkrinTest {};

TEST_F(TomkrinForeign, InfoListsTheLevelSlotsOnlyOfTheGamesTape) {
    const std::string shortOne = write("short.cas", shortTape());
    ASSERT_EQ(run({"info", shortOne}), 0) << err_.str();
    EXPECT_NE(out_.str().find("BASIC   \"INTRO\""), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\nnot the game's tape: it is 3032 bytes long, and its first "
                              "level slot ends at byte 23924\n"),
              std::string::npos)
        << out_.str();
    EXPECT_EQ(out_.str().find("level   offset"), std::string::npos) << out_.str();

    const std::string foreign = write("prog.cas", foreignTape(72000));
    ASSERT_EQ(run({"info", foreign}), 0) << err_.str();
    EXPECT_EQ(lineCount(out_.str()), 5) << out_.str();
    EXPECT_NE(out_.str().find("\nnot the game's tape: none of its 20 level slots holds a level\n"),
              std::string::npos)
        << out_.str();

    // Two damaged slots: still the game's tape, and the two are named.
    Bytes damaged = makeGameTape();
    std::fill_n(damaged.begin() + standardLevelOffset(4), kLevelBodySize, 0);
    damaged[standardLevelOffset(9) + kColumns * kRows + 2] = 0x07; // title character 3
    ASSERT_EQ(run({"info", write("damaged.cas", damaged)}), 0) << err_.str();
    const std::string table = out_.str();
    EXPECT_NE(table.find("\n    4    25382  (damaged: title character 1 is not printable (0x00))"
                         "\n    5    25868  \""),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("\n    9    27812  (damaged: title character 3 is not printable "
                         "(0x07))\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("\ndamaged slots, holding no level: 4, 9\n"), std::string::npos) << table;

    // More than half of the slots must hold a level: 11 of 20 do, 10 of 20 do not.
    ASSERT_EQ(run({"info", write("nine.cas", gameTapeWithWreckedSlots(9))}), 0);
    EXPECT_NE(out_.str().find("damaged slots, holding no level: 0, 1, 2, 3, 4, 5, 6, 7, 8\n"),
              std::string::npos)
        << out_.str();
    ASSERT_EQ(run({"info", write("ten.cas", gameTapeWithWreckedSlots(10))}), 0);
    EXPECT_NE(out_.str().find("not the game's tape: only 10 of its 20 level slots hold a level"),
              std::string::npos)
        << out_.str();
}

TEST_F(TomkrinForeign, EveryCommandRefusesASlotOfAForeignTapeInOneLineAndWritesNothing) {
    const LevelFileBytes level = encodeLevel(Level{});
    const std::string levelFile = write("level.bin", Bytes(level.begin(), level.end()));
    const Bytes foreignBytes = foreignTape(72000);
    for (const Bytes& bytes : {shortTape(), foreignBytes}) {
        const std::string tape = write("tape.cas", bytes);
        SCOPED_TRACE(bytes.size());
        const std::vector<std::vector<std::string>> commands = {
            {"show", tape + ":3"},
            {"check", tape + ":3"},
            {"render", tape + ":3", "-o", path("level.png")},
            {"render", tape, "-o", path("sheet.png")},
            {"extract", tape, "3", "-o", path("level3.bin")},
            {"extract", tape, "all", "-o", path("levels")},
            {"insert", levelFile, tape, "3"},
            {"insert", levelFile, tape, "3", "-o", path("new.cas")},
        };
        for (const std::vector<std::string>& command : commands) {
            expectFailure(run(command), tape);
            EXPECT_NE(err_.str().find(": not the game's tape: "), std::string::npos)
                << command[0] << ": " << err_.str();
            EXPECT_EQ(out_.str(), "") << command[0];
        }
        EXPECT_EQ(read("tape.cas"), bytes);
        EXPECT_EQ(filesInDir(), (std::vector<std::string>{"level.bin", "tape.cas"}));
    }

    // --force reads and writes the slots of any tape image; --address needs no --force.
    const std::string tape = path("tape.cas");
    EXPECT_EQ(run({"show", tape + ":3", "--force"}), 0) << err_.str();
    ASSERT_EQ(run({"extract", "--force", tape, "3", "-o", path("level3.bin")}), 0) << err_.str();
    const Bytes extracted = read("level3.bin");
    EXPECT_EQ(Bytes(extracted.begin() + 7, extracted.end()),
              Bytes(foreignBytes.begin() + standardLevelOffset(3),
                    foreignBytes.begin() + standardLevelOffset(4)));
    ASSERT_EQ(run({"insert", levelFile, tape, "5", "--force", "-o", path("new.cas")}), 0)
        << err_.str();
    ASSERT_EQ(run({"insert", levelFile, tape, "--address", "100", "-o", path("new2.cas")}), 0)
        << err_.str();
    EXPECT_EQ(read("tape.cas"), foreignBytes);
}

TEST_F(TomkrinForeign, CheckOfAnyBytesStaysAScreenfulAndADamagedSlotNeedsNoForce) {
    const std::string tape = write("prog.cas", foreignTape(72000));
    std::string lines;
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        EXPECT_EQ(run({"check", "--force", tape + ":" + std::to_string(n)}), 1);
        EXPECT_LE(lineCount(out_.str()), static_cast<int>(kMostWarningsListed)) << out_.str();
        lines += out_.str();
    }
    EXPECT_NE(lines.find(":3: 3"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" cells hold codes of no block: 0x"), std::string::npos) << lines;
    EXPECT_NE(lines.find("; first at row 0, column "), std::string::npos) << lines;

    Bytes damaged = makeGameTape();
    std::fill_n(damaged.begin() + standardLevelOffset(4), kLevelBodySize, 0);
    const std::string game = write("damaged.cas", damaged);
    EXPECT_EQ(run({"check", game + ":4", game + ":5"}), 1);
    EXPECT_EQ(err_.str(), "");
    EXPECT_NE(out_.str().find(":4: 432 cells hold codes of no block: 0x00 (432); first at row 0, "
                              "column 0\n"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find(":5: no warnings\n"), std::string::npos) << out_.str();
}

} // namespace
