#include "core/tape/tapefiles.h"

#include "core/tape/tapedirectory.h"

namespace {

// Where MSX BASIC keeps the first line of a program: 0x8001 on a machine with 32 KB of RAM or
// more, 0xC001 with 16 KB, 0xE001 with 8 KB. The links of a saved program are addresses there.
constexpr unsigned kBasicTextStarts[] = {0x8001, 0xC001, 0xE001};
// A line is its link, its number and at least the 0x00 that ends it; the interpreter's line
// buffer takes a few hundred bytes, so a link further on than this belongs to another start.
constexpr std::size_t kShortestLine = 5;
constexpr std::size_t kLongestLine = 512;

std::size_t wordAt(const std::uint8_t* bytes) {
    return static_cast<std::size_t>(bytes[0] | (bytes[1] << 8));
}

enum class ProgramWalk { Ends, Cut, Broken };

// Follows the links of a program whose first line lies at `textStart`: Ends with the offset of
// the end link, Cut when a link leads past the block's end, Broken when a link cannot be one
// (behind its own line, too far on, or at a place that no line's end byte precedes).
ProgramWalk followLinks(const BlockBytes& block, std::size_t textStart, std::size_t& endLink) {
    std::size_t line = 0;
    while (true) {
        if (line + 2 > block.size)
            return ProgramWalk::Cut;
        const std::size_t link = wordAt(block.data + line);
        if (link == 0) {
            endLink = line;
            return ProgramWalk::Ends;
        }
        if (link < textStart + line + kShortestLine || link - textStart - line > kLongestLine)
            return ProgramWalk::Broken;
        const std::size_t next = link - textStart;
        if (next > block.size)
            return ProgramWalk::Cut;
        if (block.data[next - 1] != 0)
            return ProgramWalk::Broken;
        line = next;
    }
}

BlockJudgement measured(std::size_t announced, std::size_t held) {
    BlockJudgement judgement;
    judgement.announced = announced;
    judgement.verdict = held >= announced ? BlockVerdict::Complete : BlockVerdict::Short;
    return judgement;
}

BlockJudgement judgeBasic(const BlockBytes& block) {
    BlockJudgement judgement;
    for (const unsigned start : kBasicTextStarts) {
        std::size_t endLink = 0;
        switch (followLinks(block, start, endLink)) {
        case ProgramWalk::Ends:
            return measured(endLink + 2 + kBasicTrailingZeros, block.size);
        case ProgramWalk::Cut:
            judgement.verdict = BlockVerdict::EndMissing;
            return judgement;
        case ProgramWalk::Broken:
            break;
        }
    }
    // Not a program that any MSX saved: nothing to measure it by.
    return judgement;
}

BlockJudgement judgeBinary(const BlockBytes& block) {
    BlockJudgement judgement;
    if (block.size < kBinaryAddressBytes) {
        judgement.verdict = BlockVerdict::EndMissing;
        return judgement;
    }
    const BinaryAddresses addresses = readBinaryAddresses(block.data);
    if (addresses.end < addresses.load)
        return judgement;
    return measured(std::size_t{addresses.end} - addresses.load + 1 + kBinaryAddressBytes,
                    block.size);
}

BlockJudgement judgeData(TapeBlockKind file, const BlockBytes& block) {
    BlockJudgement judgement;
    switch (file) {
    case TapeBlockKind::Binary:
        judgement = judgeBinary(block);
        break;
    case TapeBlockKind::Basic:
        judgement = judgeBasic(block);
        break;
    case TapeBlockKind::Ascii:
        judgement = measured(kAsciiBlockSize, block.size);
        break;
    case TapeBlockKind::Data:
        return judgement;
    }
    judgement.file = file;
    return judgement;
}

} // namespace

std::vector<BlockJudgement> judgeTapeBlocks(const std::vector<BlockBytes>& blocks) {
    std::vector<BlockJudgement> judgements(blocks.size());
    TapeFileTracker files;
    std::size_t last = 0;    // the latest block of the file whose next block is due
    bool headerOnly = false; // whether that block is the file's header
    // A file that stops before its end; a cut block already says so itself.
    auto stopFile = [&]() {
        BlockJudgement& judgement = judgements[last];
        if (judgement.verdict == BlockVerdict::Short ||
            judgement.verdict == BlockVerdict::EndMissing)
            return;
        judgement.stop = headerOnly ? FileStop::NoDataBlock : FileStop::NoAsciiEnd;
    };
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const BlockBytes& block = blocks[i];
        const bool fileOpen = files.open() != TapeBlockKind::Data;
        const TapeFileTracker::Step step = files.next(block.data, block.size);
        if (step.kind != TapeBlockKind::Data) {
            if (fileOpen)
                stopFile();
            judgements[i].file = step.kind;
            last = i;
            headerOnly = true;
            continue;
        }
        if (step.continues == TapeBlockKind::Data)
            continue;
        judgements[i] = judgeData(step.continues, block);
        last = i;
        headerOnly = false;
    }
    if (files.open() != TapeBlockKind::Data)
        stopFile();
    return judgements;
}

std::string blockFault(const BlockJudgement& judgement, std::size_t held) {
    const std::string holds = "holds " + std::to_string(held);
    switch (judgement.verdict) {
    case BlockVerdict::Short:
        return holds + " of the " + std::to_string(judgement.announced) +
               " bytes that its header announces";
    case BlockVerdict::EndMissing:
        if (judgement.file == TapeBlockKind::Binary)
            return holds + " bytes, too few for the load, end and exec addresses of its file";
        return holds + " bytes and stops before the end link of its BASIC program";
    case BlockVerdict::Unjudged:
    case BlockVerdict::Complete:
        break;
    }
    switch (judgement.stop) {
    case FileStop::NoDataBlock:
        return std::string("is the header of a ") + tapeBlockKindName(judgement.file) +
               " file, and no data block follows it";
    case FileStop::NoAsciiEnd:
        return "is the last block of its ASCII file, and does not hold the file's end byte 0x1A";
    case FileStop::No:
        break;
    }
    return "";
}

std::size_t announcedSize(const std::vector<BlockBytes>& blocks) {
    if (blocks.empty())
        return 0;
    const BlockBytes& last = blocks.back();
    if (tapeBlockKind(last.data, last.size) != TapeBlockKind::Data)
        return kFileIdSize + kTapeFileNameSize;
    const BlockJudgement judgement = judgeTapeBlocks(blocks).back();
    const bool measured =
        judgement.verdict == BlockVerdict::Complete || judgement.verdict == BlockVerdict::Short;
    return measured ? judgement.announced : 0;
}

bool fileHeaderSized(std::size_t size) {
    const std::size_t header = kFileIdSize + kTapeFileNameSize;
    return size >= header && size < header + kBlockMarkerSize;
}

std::vector<std::size_t> strayIdBytes(const std::uint8_t* block, std::size_t size) {
    std::vector<std::size_t> stray;
    if (!fileHeaderSized(size))
        return stray;
    for (const std::uint8_t id : kFileIds) {
        for (std::size_t i = 0; i < kFileIdSize; ++i)
            if (block[i] != id)
                stray.push_back(i);
        if (stray.size() <= kFileIdSize - kMostIdBytes)
            return stray;
        stray.clear();
    }
    return stray;
}

std::vector<std::size_t> unprintableNameBytes(const std::uint8_t* block, std::size_t size) {
    std::vector<std::size_t> unprintable;
    if (tapeBlockKind(block, size) == TapeBlockKind::Data)
        return unprintable;
    for (std::size_t i = kFileIdSize; i < kFileIdSize + kTapeFileNameSize && i < size; ++i)
        if (block[i] < 0x20 || block[i] >= 0x7F)
            unprintable.push_back(i);
    return unprintable;
}
