#include <gtest/gtest.h>

#include "core/tape/loadinginstructions.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;

namespace {

LoadingInstructions instructionsFor(const Bytes& image) {
    return loadingInstructions(image.data(), image.size());
}

} // namespace

TEST(TapeLoading, TheFirstFileHeaderTellsWhatToType) {
    const struct {
        std::uint8_t id;
        TapeBlockKind kind;
        std::vector<std::string> commands;
    } cases[] = {
        {kBinaryFileId, TapeBlockKind::Binary, {"BLOAD\"CAS:\",R"}},
        {kBasicFileId, TapeBlockKind::Basic, {"CLOAD", "RUN"}},
        {kAsciiFileId, TapeBlockKind::Ascii, {"RUN\"CAS:\""}},
    };
    for (const auto& c : cases) {
        // Data before the first header, and a file of another kind after it, do not count.
        Bytes image;
        appendTapeBlock(image, countingBytes(20));
        appendTapeBlock(image, fileHeader(c.id, "GA\x01"
                                                "E "));
        appendTapeBlock(image, countingBytes(30));
        appendTapeBlock(image,
                        fileHeader(c.id == kBinaryFileId ? kBasicFileId : kBinaryFileId, "OTHER "));
        const LoadingInstructions instructions = instructionsFor(image);
        EXPECT_EQ(instructions.kind, c.kind);
        EXPECT_EQ(instructions.commands, c.commands);
        EXPECT_EQ(instructions.fileName, "GA?E");
        for (const std::string& command : c.commands)
            EXPECT_NE(instructions.text.find(command), std::string::npos) << instructions.text;
        EXPECT_NE(instructions.text.find("\"GA?E\""), std::string::npos) << instructions.text;
    }
}

TEST(TapeLoading, ATapeWithoutFileHeaderSaysSo) {
    Bytes image;
    appendTapeBlock(image, countingBytes(40));
    for (const Bytes& tape : {image, Bytes{1, 2, 3}}) {
        const LoadingInstructions instructions = instructionsFor(tape);
        EXPECT_EQ(instructions.kind, TapeBlockKind::Data);
        EXPECT_TRUE(instructions.commands.empty());
        EXPECT_EQ(instructions.text,
                  "The tape holds no file header: an MSX finds no file on it to load.");
    }
}
