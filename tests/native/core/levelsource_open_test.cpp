#include <gtest/gtest.h>

#include "core/audio/wavheader.h"
#include "core/level/defaultlevel.h"
#include "core/level/levelcodec.h"
#include "core/levelsource/openedfile.h"
#include "core/tape/tapebuilder.h"
#include "core/tiled/mapfile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Opened {
    bool ok;
    OpenedKind kind;
    Level level;
    std::string message;
};

Opened open(const std::string& name, const Bytes& bytes, std::vector<MapSideFile> given = {}) {
    Opened opened{false, OpenedKind::LevelFile, Level{}, ""};
    FileFailure failure;
    opened.ok = openEditorFile(name, bytes, tilesetsFromFiles(std::move(given)), opened.kind,
                               opened.level, failure);
    if (!opened.ok)
        opened.message = failure.text();
    return opened;
}

Bytes defaultLevelFile() {
    const LevelFileBytes file = encodeLevel(makeDefaultLevel());
    return Bytes(file.begin(), file.end());
}

} // namespace

TEST(OpenedFile, EachKindOfFileIsToldAndABadOneRefusedInOneLine) {
    const Opened level = open("mine.bin", defaultLevelFile());
    ASSERT_TRUE(level.ok);
    EXPECT_EQ(level.kind, OpenedKind::LevelFile);
    EXPECT_EQ(encodeLevel(level.level), encodeLevel(makeDefaultLevel()));

    Bytes tape;
    appendTapeBlock(tape, fileHeaderBlock(0xD0, "GAME  "));
    const Opened tapeFile = open("game.bin", tape); // the bytes tell, not the name
    ASSERT_TRUE(tapeFile.ok);
    EXPECT_EQ(tapeFile.kind, OpenedKind::Tape);

    const auto header = makeWavHeader({44100, 1, 16}, 4);
    Bytes wav(header.begin(), header.end());
    wav.resize(wav.size() + 4);
    for (const std::string name : {"take1.WAV", "take1.bin"}) {
        const Opened recording = open(name, wav);
        ASSERT_TRUE(recording.ok) << name;
        EXPECT_EQ(recording.kind, OpenedKind::Recording) << name;
    }

    Bytes picture = defaultLevelFile();
    picture[0] = 0x89;
    EXPECT_EQ(open("photo.png", picture).message,
              "photo.png: not a level file: it starts with 0x89, a level file with 0xFE");
    EXPECT_EQ(open("cut.bin", Bytes(400, 0xFE)).message,
              "cut.bin: too short for a level file: 400 bytes, a level file has 493");
    EXPECT_EQ(open("noise.wav", Bytes(600, 0x41)).message,
              "noise.wav: it is not a .wav file (no RIFF/WAVE header)");
}

TEST(OpenedFile, AMapTakesTheTilesetsGivenWithItAndTheBlocksOwnWhenNotGiven) {
    const std::string text = writeLevelMap(makeDefaultLevel(), MapFormat::Tmx, false);
    const Bytes map(text.begin(), text.end());
    const Opened alone = open("level.tmx", map);
    ASSERT_TRUE(alone.ok) << alone.message;
    EXPECT_EQ(alone.kind, OpenedKind::Map);
    EXPECT_EQ(encodeLevel(alone.level), encodeLevel(makeDefaultLevel()));

    // A tileset handed over by the name the map gives wins over the blocks' own.
    const Opened broken = open("level.tmx", map, {{"maps/tomkrin-blocks.tsx", Bytes{'x'}}});
    EXPECT_FALSE(broken.ok);
    EXPECT_NE(broken.message.find("level.tmx: tileset tomkrin-blocks.tsx: not a Tiled tileset"),
              std::string::npos)
        << broken.message;

    std::string renamed = text;
    renamed.replace(renamed.find("tomkrin-blocks.tsx"), 18, "other-blocks.tsx");
    const Opened missing = open("level.tmx", Bytes(renamed.begin(), renamed.end()));
    EXPECT_EQ(missing.message, "level.tmx: tileset other-blocks.tsx: cannot be read: it was "
                               "not given with the map");
}
