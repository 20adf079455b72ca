// tomkrin export and import, and maps wherever tomkrin reads a level.
#include "tests/native/support/tomkrin_testing.h"

using namespace tomkrin_testing;

namespace {

class TiledCommands : public TomkrinTest {
  protected:
    void SetUp() override {
        TomkrinTest::SetUp();
        tape_ = write("game.cas", makeGameTape());
        ASSERT_EQ(run({"extract", tape_, "5", "-o", path("level.bin")}), 0) << err_.str();
    }
    // `tomkrin WORDS...` with LEVEL standing for the level file, then for `map`: same status,
    // same output but for the name.
    void expectSameWith(const std::string& map, std::vector<std::string> words) {
        auto runWith = [&](const std::string& level, std::string& out) {
            std::vector<std::string> with = words;
            for (std::string& word : with)
                if (word == "LEVEL")
                    word = level;
            const int status = run(with);
            out = out_.str();
            for (std::size_t at; (at = out.find(level)) != std::string::npos;)
                out.replace(at, level.size(), "LEVEL");
            return status;
        };
        std::string fromFile, fromMap;
        EXPECT_EQ(runWith(path("level.bin"), fromFile), runWith(map, fromMap)) << err_.str();
        EXPECT_EQ(fromFile, fromMap);
    }
    std::string tape_;
};

TEST_F(TiledCommands, ExportedMapsImportBackAndServeAsLevels) {
    for (const char* name : {"map.tmx", "map.tmj", "map.json"}) {
        ASSERT_EQ(run({"export", path("level.bin"), "-o", path(name)}), 0) << err_.str();
        ASSERT_EQ(run({"import", path(name), "-o", path("back.bin")}), 0) << err_.str();
        EXPECT_EQ(read("back.bin"), read("level.bin")) << name;
    }
    EXPECT_EQ(filesInDir(),
              (std::vector<std::string>{"back.bin", "game.cas", "level.bin", "map.json", "map.tmj",
                                        "map.tmx", "tomkrin-blocks.png", "tomkrin-blocks.tsx"}));
    for (const char* name : {"map.tmx", "map.json"}) {
        expectSameWith(path(name), {"show", "LEVEL", "--color=never"});
        expectSameWith(path(name), {"check", "LEVEL"});
        ASSERT_EQ(run({"render", path(name), "-o", path("map.png")}), 0) << err_.str();
        ASSERT_EQ(run({"render", path("level.bin"), "-o", path("level.png")}), 0);
        EXPECT_EQ(read("map.png"), read("level.png"));
        ASSERT_EQ(run({"insert", path(name), tape_, "7", "-o", path("map.cas")}), 0) << err_.str();
        ASSERT_EQ(run({"insert", path("level.bin"), tape_, "7", "-o", path("level.cas")}), 0);
        EXPECT_EQ(read("map.cas"), read("level.cas"));
    }
    // A slot of a tape exports as the level file extract writes.
    ASSERT_EQ(run({"export", tape_ + ":5", "-o", path("slot.tmx"), "--embed-tileset"}), 0);
    ASSERT_EQ(run({"import", path("slot.tmx"), "-o", path("slot.bin")}), 0) << err_.str();
    EXPECT_EQ(read("slot.bin"), read("level.bin"));
}

TEST_F(TiledCommands, ExportKeepsOddBytesAndNeverOverwritesAChangedTileset) {
    Bytes odd(kLevelFileSize);
    for (std::size_t i = 0; i < odd.size(); ++i)
        odd[i] = static_cast<std::uint8_t>(i * 53 + 7);
    odd[0] = kBloadId;
    write("odd.bin", odd);
    ASSERT_EQ(run({"export", path("odd.bin"), "-o", path("odd.tmx")}), 0) << err_.str();
    ASSERT_EQ(run({"import", path("odd.tmx"), "-o", path("odd-back.bin")}), 0) << err_.str();
    EXPECT_EQ(read("odd-back.bin"), odd);
    EXPECT_TRUE(std::filesystem::exists(path("tomkrin-unknown-07.png")));

    // A tileset changed by hand stays as it is, and no map is written.
    Bytes tileset = read("tomkrin-blocks.tsx");
    tileset.push_back('\n');
    write("tomkrin-blocks.tsx", tileset);
    expectFailure(run({"export", path("level.bin"), "-o", path("level.tmx")}),
                  path("tomkrin-blocks.tsx"));
    EXPECT_EQ(read("tomkrin-blocks.tsx"), tileset);
    EXPECT_FALSE(std::filesystem::exists(path("level.tmx")));

    // What a map could not give back, and an output that is the input.
    Bytes longer = read("level.bin");
    longer.push_back(0);
    write("long.bin", longer);
    expectFailure(run({"export", path("long.bin"), "-o", path("x/long.tmx")}), path("long.bin"));
    Bytes foreign = read("level.bin");
    foreign[0] = 0x00;
    write("foreign.bin", foreign);
    expectFailure(run({"export", path("foreign.bin"), "-o", path("x/f.tmx")}), path("foreign.bin"));
    expectFailure(run({"import", path("odd.tmx"), "-o", path("odd.tmx")}), path("odd.tmx"));
    EXPECT_EQ(run({"export", path("level.bin"), "-o", path("level.txt")}), 2);
}

TEST_F(TiledCommands, ABadMapIsOneLineAndWritesNothing) {
    write("bad.tmx", Bytes{'<', 'm', 'a', 'p', '/', '>'});
    expectFailure(run({"import", path("bad.tmx"), "-o", path("bad.bin")}), path("bad.tmx"));
    EXPECT_NE(err_.str().find("a level is an orthogonal map"), std::string::npos) << err_.str();
    expectFailure(run({"insert", path("bad.tmx"), tape_, "3"}), path("bad.tmx"));
    EXPECT_FALSE(std::filesystem::exists(path("bad.bin")));
    EXPECT_EQ(read("game.cas"), makeGameTape());
}

} // namespace
