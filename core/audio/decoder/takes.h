#pragma once
// Several takes of one tape decoded together. People who rescue a cassette record it two or three
// times (another deck, another day, another azimuth), and each take loses something else: noise
// turns other bits in each, a dropout or a crease lies elsewhere. Each take is decoded on its own
// (casdecoder.h); then
//   - its blocks are matched with the other takes' by their order and their bytes, whatever speed,
//     sample rate or leading silence each take had; a take that lacks a block (its lead-in lost)
//     gives nothing to it;
//   - within a block each bit is decided by the margins of every take that holds the byte, added
//     up and weighted by how noisy each take's block is, so noise that each take alone misreads
//     averages out; bytes a take lost, read right at its damage or out of step (framing errors
//     close together), come from the other takes; a take that counted a jump's bytes wrong gives
//     the bytes after it placed back from the block's end, where they agree with the others';
//   - each byte is sure when its bits' combined margins clear the line a single take's bytes are
//     held to; what no take holds is lost (0x00), and the combined block is reported as one
//     take's would be (core/audio/report/takesreport.h), so a decode that is clean is exact.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/audio/decoder/casdecoder.h"

// A block of one take that went into a combined block.
struct TakeHolding {
    std::size_t take = 0;
    std::size_t block = 0; // its index among the take's blocks
    double seconds = 0;    // where it starts in that take's recording
    double noise = 0;      // how far its bits' margins stray from a clear bit's, as a deviation
};

// Bytes held by only some of the takes that hold their block.
struct PartialBytes {
    std::size_t first = 0;
    std::size_t count = 0;
    std::vector<std::size_t> takes; // the takes that gave them
};

// A byte the takes read as different values.
struct Disagreement {
    std::size_t byte = 0;
    std::vector<std::size_t> takes;   // the takes that gave it
    std::vector<std::uint8_t> values; // what each of them read
    std::uint8_t chosen = 0;          // the value of the combined bits
    float margin = 0;                 // the combined margin of its weakest bit
};

struct TakesOfBlock {
    std::vector<TakeHolding> holders; // in the order of the takes
    std::vector<PartialBytes> partial;
    std::vector<Disagreement> disagreements;
    std::size_t noiseAfter = 0; // bytes some takes read on after its end: left out as noise
};

// A few bytes that some takes heard as a block, where the others heard the lead-in tone go on, or
// that they misheard throughout where the others heard no block.
struct LeftOut {
    std::size_t before = 0; // the index of the block of the tape they came before
    std::vector<TakeHolding> holders;
    std::size_t bytes = 0;
    bool misheard = false; // mostly bytes that do not frame, not a lead-in's noise
};

struct CombinedTape {
    std::size_t takes = 0;
    std::vector<LeftOut> leftOut;
    std::vector<DecodedBlock> blocks;  // the tape: times and speed are those of its first holder
    std::vector<TakesOfBlock> sources; // one for each of blocks
};

// The tape the takes hold together; each take is the blocks decodeTape gave for its recording.
CombinedTape combineTakes(const std::vector<std::vector<DecodedBlock>>& takes);
