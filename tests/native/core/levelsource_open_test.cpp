#include <gtest/gtest.h>

#include "core/audio/formats/wavheader.h"
#include "core/level/defaultlevel.h"
#include "core/level/levelcodec.h"
#include "core/levelsource/levelsource.h"
#include "core/levelsource/filekind.h"
#include "core/levelsource/openedfile.h"
#include "core/picture/levelchunk.h"
#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"
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

TEST(OpenedFile, APictureOpensAsTheLevelItCarriesAndADamagedOneIsRefusedPlainly) {
    Level level = makeDefaultLevel();
    level.cell(7, 4) = 0x2D;
    const Bytes png = levelPicturePng(level, 2);
    const Bytes plain = encodePng(renderLevel(level, 2));
    // The same picture, with the chunk before IEND.
    ASSERT_EQ(png.size(), plain.size() + 12 + kLevelFileSize);
    EXPECT_TRUE(std::equal(plain.end() - 12, plain.end(), png.end() - 12));
    const Opened picture = open("shot.png", png);
    ASSERT_TRUE(picture.ok) << picture.message;
    EXPECT_EQ(picture.kind, OpenedKind::Picture);
    EXPECT_EQ(encodeLevel(picture.level), encodeLevel(level));

    EXPECT_EQ(open("plain.png", plain).message, "plain.png: not a level file: it is a PNG picture");
    const std::size_t data = plain.size() - 12 + 8; // the level file's first byte in the chunk
    Bytes flipped = png;
    flipped[data + 100] ^= 1;
    Bytes shorter = png;
    shorter[data - 5] = 0x90; // its length field now says 0x190, 400 bytes
    const struct {
        Bytes bytes;
        const char* damage;
    } damaged[] = {
        {flipped, "its level chunk fails its CRC check"},
        {Bytes(png.begin(), png.begin() + data + 200), "its level chunk is cut short"},
        {shorter, "its level chunk holds 400 bytes, a level file has 493"},
    };
    for (const auto& bad : damaged)
        EXPECT_EQ(open("shot.png", bad.bytes).message,
                  std::string("shot.png: the level in this picture is damaged: ") + bad.damage);
    // Forced, a damaged picture is taken as bytes like any other file.
    Bytes forced = flipped;
    bool fromPicture = true;
    FileFailure failure;
    EXPECT_TRUE(takeLevelOutOfPicture("shot.png", forced, true, fromPicture, failure));
    EXPECT_FALSE(fromPicture);
    EXPECT_EQ(forced, flipped);
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

TEST(LevelFileKind, EveryOtherKindIsRefusedInOneLineAndForcedTaken) {
    const std::vector<std::uint8_t> png = encodePng(RgbImage(600, 400, Rgb{1, 2, 3}));
    Bytes tape(40, 0x41);
    appendTapeBlock(tape, fileHeaderBlock(0xD0, "GAME  "));
    const auto header = makeWavHeader({44100, 1, 16}, 600);
    Bytes wav(header.begin(), header.end());
    wav.resize(wav.size() + 600);
    Bytes flac = {'f', 'L', 'a', 'C'};
    flac.resize(600);
    const std::string tmx =
        "\xEF\xBB\xBF  " + writeLevelMap(makeDefaultLevel(), MapFormat::Tmx, false);
    const std::string json = writeLevelMap(makeDefaultLevel(), MapFormat::Json, false);
    const struct {
        Bytes bytes;
        const char* what;
    } kinds[] = {
        {png, "it is a PNG picture"},
        {tape, "it is a tape image"},
        {wav, "it is a WAV recording"},
        {flac, "it is a FLAC recording"},
        {Bytes(tmx.begin(), tmx.end()), "it is a Tiled map (a map is named .tmx, .tmj or .json)"},
        {Bytes(json.begin(), json.end()), "it is a Tiled map (a map is named .tmx, .tmj or .json)"},
        {Bytes(493, 0x41), "it starts with 0x41, a level file with 0xFE"},
    };
    for (const auto& kind : kinds) {
        FileFailure failure;
        EXPECT_FALSE(checkLevelFileKind("x.bin", kind.bytes, false, failure)) << kind.what;
        EXPECT_EQ(failure.file + ": " + failure.what,
                  std::string("x.bin: not a level file: ") + kind.what);
        EXPECT_TRUE(checkLevelFileKind("x.bin", kind.bytes, true, failure)) << kind.what;
    }
    FileFailure failure;
    EXPECT_TRUE(checkLevelFileKind("mine.bin", defaultLevelFile(), false, failure));
    EXPECT_TRUE(checkLevelFileKind("empty.bin", {}, false, failure)); // the length's to refuse

    // Where a level is read, a tape's own levels are named instead.
    Level level;
    EXPECT_FALSE(levelOfLevelFile("game.cas", tape, true, false, level, failure));
    EXPECT_EQ(failure.what, "not a level file: it is a tape image (name one of its levels as "
                            "game.cas:N)");
    EXPECT_TRUE(levelOfLevelFile("game.cas", tape, true, true, level, failure));
}
