#include <gtest/gtest.h>

#include "core/tape/tapefiles.h"
#include "tests/native/support/tomkrin_testing.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;
using cas2wav_testing::fileHeader;

namespace {

std::vector<BlockJudgement> judge(const std::vector<Bytes>& blocks) {
    std::vector<BlockBytes> spans;
    for (const Bytes& block : blocks)
        spans.push_back({block.data(), block.size()});
    return judgeTapeBlocks(spans);
}

Bytes prefix(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

TEST(TapeFiles, ABinaryBlockHoldsItsAddressesAndTheBytesFromLoadToEnd) {
    const Bytes header = fileHeader(kBinaryFileId, "GAME");
    const Bytes data = binaryData(0xC000, 100);
    Bytes padded = data;
    padded.resize(data.size() + 5, 0x00);
    const std::vector<BlockJudgement> whole = judge({header, data, header, padded});
    EXPECT_EQ(whole[0].verdict, BlockVerdict::Unjudged);
    EXPECT_EQ(whole[1].verdict, BlockVerdict::Complete);
    EXPECT_EQ(whole[1].announced, 106u);
    EXPECT_EQ(whole[3].verdict, BlockVerdict::Complete);

    const std::vector<BlockJudgement> cut =
        judge({header, prefix(data, 105), header, prefix(data, 4)});
    EXPECT_EQ(cut[1].verdict, BlockVerdict::Short);
    EXPECT_EQ(blockFault(cut[1], 105), "holds 105 of the 106 bytes that its header announces");
    EXPECT_EQ(cut[3].verdict, BlockVerdict::EndMissing);
    EXPECT_EQ(cut[1].stop, FileStop::No); // the cut already says the file is not whole

    // An end address before the load address announces no length; a block nothing announces is
    // not judged; a header that no data block follows stops its file.
    Bytes backwards = data;
    backwards[3] = 0xB0;
    const std::vector<BlockJudgement> odd = judge({header, backwards, data, header, header});
    EXPECT_EQ(odd[1].verdict, BlockVerdict::Unjudged);
    EXPECT_EQ(odd[2].verdict, BlockVerdict::Unjudged);
    EXPECT_EQ(odd[3].stop, FileStop::NoDataBlock);
    EXPECT_EQ(odd[4].stop, FileStop::NoDataBlock);
    EXPECT_EQ(blockFault(odd[4], 16),
              "is the header of a binary file, and no data block follows it");
    EXPECT_EQ(blockFault(odd[2], data.size()), "");
}

TEST(TapeFiles, ABasicBlockEndsWithItsEndLinkAndSevenZeros) {
    const Bytes header = fileHeader(kBasicFileId, "PROG");
    // Line 20 holds the double-precision constant 0, nine zeros in a row with its line's end.
    const Bytes program = basicProgram(0x8001);
    const std::size_t size = program.size();
    const std::size_t zeroRunEnd = 2 * kBasicLineSize; // behind line 20's end byte
    ASSERT_EQ(program[zeroRunEnd - 9], 0x00);
    const std::vector<BlockJudgement> whole =
        judge({header, program, header, basicProgram(0xC001), header, Bytes(9, 0x00)});
    EXPECT_EQ(whole[1].verdict, BlockVerdict::Complete);
    EXPECT_EQ(whole[1].announced, size);
    EXPECT_EQ(whole[3].verdict, BlockVerdict::Complete); // saved on a 16 KB machine
    EXPECT_EQ(whole[5].verdict, BlockVerdict::Complete); // an empty program

    // Cut among the zeros after the end link, right after the run of zeros within the program
    // (the block then ends in nine zeros), and before the first link is whole.
    const std::vector<BlockJudgement> cut =
        judge({header, prefix(program, size - 3), header, prefix(program, zeroRunEnd), header,
               prefix(program, 1)});
    EXPECT_EQ(cut[1].verdict, BlockVerdict::Short);
    EXPECT_EQ(cut[1].announced, size);
    EXPECT_EQ(cut[3].verdict, BlockVerdict::EndMissing);
    EXPECT_EQ(cut[5].verdict, BlockVerdict::EndMissing);
    EXPECT_EQ(blockFault(cut[3], zeroRunEnd),
              "holds 32 bytes and stops before the end link of its BASIC program");

    // Bytes whose links lead nowhere are no program an MSX saved: nothing to judge them by.
    EXPECT_EQ(judge({header, cas2wav_testing::countingBytes(40)})[1].verdict,
              BlockVerdict::Unjudged);
}

TEST(TapeFiles, AnAsciiFileRunsInWholeBlocksToTheOneWithItsEndByte) {
    const Bytes header = fileHeader(kAsciiFileId, "NOTES");
    const std::vector<Bytes> file = asciiBlocks(2);
    std::vector<BlockJudgement> judged = judge({header, file[0], file[1], file[0]});
    EXPECT_EQ(judged[1].verdict, BlockVerdict::Complete);
    EXPECT_EQ(judged[2].verdict, BlockVerdict::Complete);
    EXPECT_EQ(judged[2].stop, FileStop::No);
    EXPECT_EQ(judged[3].verdict, BlockVerdict::Unjudged); // after the end: no header announces it

    judged = judge({header, file[0], prefix(file[1], 200)});
    EXPECT_EQ(judged[2].verdict, BlockVerdict::Short);
    EXPECT_EQ(judged[2].announced, kAsciiBlockSize);
    // Stopping after a whole block that does not hold the end, or when the next file begins.
    for (const std::vector<Bytes>& tape :
         {std::vector<Bytes>{header, file[0]}, std::vector<Bytes>{header, file[0], header}}) {
        judged = judge(tape);
        EXPECT_EQ(judged[1].verdict, BlockVerdict::Complete);
        EXPECT_EQ(judged[1].stop, FileStop::NoAsciiEnd);
        EXPECT_EQ(blockFault(judged[1], kAsciiBlockSize),
                  "is the last block of its ASCII file, and does not hold the file's end byte "
                  "0x1A");
    }
}

class TomkrinInfo : public tomkrin_testing::TomkrinTest {};

TEST_F(TomkrinInfo, NamesABinaryFileWhoseDataBlockIsShorterThanAnnounced) {
    Bytes tape = tomkrin_testing::makeGameTape();
    EXPECT_EQ(run({"info", write("game.cas", tape)}), 0);
    EXPECT_EQ(out_.str().find("holds"), std::string::npos) << out_.str();
    // The game's data block starts at offset 104 and announces 0x8000 to 0xEFFF.
    tape.resize(20000);
    EXPECT_EQ(run({"info", write("short.cas", tape)}), 0);
    EXPECT_NE(out_.str().find("\n    3      104    19896  data\n"
                              "block 3 holds 19896 of the 28678 bytes that its header announces\n"),
              std::string::npos)
        << out_.str();
}

} // namespace
