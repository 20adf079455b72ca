// Feeds any bytes to tomkrin's readers: the tape directory (what `tomkrin info` lists), the
// standard level slots and the survey of what they hold, and the level checks on the input taken
// as a level file, folded as `tomkrin check` prints them. Checks that the directory agrees with
// the block reader and only reads what the blocks hold, and that every block is judged by its
// file header in agreement with its size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/level/levelcheck.h"
#include "core/level/levelcodec.h"
#include "core/tape/casblocks.h"
#include "core/tape/levelslots.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapefiles.h"

namespace {

void fail(const char* what, std::size_t index) {
    std::fprintf(stderr, "tape directory: %s (entry %zu)\n", what, index);
    std::abort();
}

void checkDirectory(const std::uint8_t* data, std::size_t size) {
    const std::vector<TapeBlock> blocks = readTapeBlocks(data, size);
    const std::vector<TapeDirectoryEntry> entries = readTapeDirectory(data, size);
    if (entries.size() != blocks.size())
        fail("not one entry per block", entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TapeDirectoryEntry& entry = entries[i];
        if (entry.offset != blocks[i].offset || entry.size != blocks[i].size)
            fail("entry and block disagree", i);
        if (entry.name.size() > kTapeFileNameSize)
            fail("name longer than six characters", i);
        if (entry.kind == TapeBlockKind::Data && (!entry.name.empty() || entry.hasAddresses))
            fail("a data block with a name or addresses", i);
        const bool addressesPossible =
            entry.kind == TapeBlockKind::Binary && i + 1 < entries.size() &&
            entries[i + 1].kind == TapeBlockKind::Data && entries[i + 1].size >= 6;
        if (entry.hasAddresses != addressesPossible)
            fail("addresses where none can be, or none where they are", i);
    }
}

// The survey of the slots agrees with itself, and a tape that is not the game's says why.
void checkSurvey(const std::uint8_t* data, std::size_t size) {
    const TapeSlots slots = surveyTapeSlots(data, size);
    if (slots.slots.size() != kStandardLevelCount || slots.levels > slots.within)
        fail("a slot survey that does not add up", slots.levels);
    for (unsigned n = 0; n < kStandardLevelCount; ++n)
        if ((slots.slots[n].content == SlotContent::NoLevel) == slots.slots[n].fault.empty())
            fail("a slot without a level but without a fault, or the other way", n);
    if (!isGameTape(slots) && notGameTapeBecause(slots).empty())
        fail("a foreign tape without a reason", 0);
}

// The judgement of every block by its file header: a verdict that agrees with the sizes, and a
// fault named for every cut block.
void checkJudgements(const std::uint8_t* data, std::size_t size) {
    std::vector<BlockBytes> blocks;
    for (const TapeBlock& block : readTapeBlocks(data, size))
        blocks.push_back({data + block.offset, block.size});
    const std::vector<BlockJudgement> judgements = judgeTapeBlocks(blocks);
    if (judgements.size() != blocks.size())
        fail("not one judgement per block", judgements.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const BlockJudgement& judgement = judgements[i];
        const bool whole = blocks[i].size >= judgement.announced;
        if ((judgement.verdict == BlockVerdict::Complete && !whole) ||
            (judgement.verdict == BlockVerdict::Short && whole))
            fail("a verdict that disagrees with the bytes held and announced", i);
        const bool cut = judgement.verdict == BlockVerdict::Short ||
                         judgement.verdict == BlockVerdict::EndMissing;
        if ((cut || judgement.stop != FileStop::No) ==
            blockFault(judgement, blocks[i].size).empty())
            fail("a fault without words, or words without a fault", i);
    }
}

// Slots the input reaches into; the rest would only repeat the check of an empty level.
void checkSlots(const std::uint8_t* data, std::size_t size) {
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        if (static_cast<std::size_t>(standardLevelOffset(n)) >= size)
            break;
        const LevelFileBytes file = extractStandardLevel(data, size, n);
        if (file[0] != kBloadId)
            fail("an extracted level without its identifier", n);
        Level level;
        decodeLevel(file.data(), file.size(), level);
        checkLevel(level);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDirectory(data, size);
    checkJudgements(data, size);
    checkSlots(data, size);
    checkSurvey(data, size);
    // The input is short of the first slot, so it is surveyed once more placed there.
    std::vector<std::uint8_t> placed(static_cast<std::size_t>(kFirstStandardLevelOffset), 0);
    placed.insert(placed.end(), data, data + size);
    checkSurvey(placed.data(), placed.size());
    const std::vector<LevelWarning> warnings = checkLevelFile(data, size);
    for (const LevelWarning& warning : warnings)
        if (warning.place.empty() || warning.message.empty())
            fail("a warning without place or message", 0);
    // Folded, any level is at most the file's two warnings, the header's and one per kind.
    if (foldWarnings(warnings).size() > 11)
        fail("folded warnings longer than a screenful", warnings.size());
    return 0;
}
