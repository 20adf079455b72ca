#pragma once
// How many bytes the blocks of a file should hold, judged from the file's header block: whether a
// tape (an image, or a recording being decoded) holds each file whole or cut short.
//   - A binary file (BSAVE): one data block of its load, end and exec addresses, then the bytes
//     from the load to the end address: end - load + 1 + 6 bytes.
//   - A BASIC program (CSAVE): one data block of the tokenised program, its lines linked by the
//     memory address of the next line up to the end link 0x0000, then the seven 0x00 bytes that
//     CSAVE writes after it. The end is found by following the links, never by looking for zeros,
//     which a program may hold anywhere (numbers, line pointers): a program cut inside a run of
//     zeros is not taken for complete.
//   - An ASCII file (SAVE): data blocks of 256 bytes each, up to the block that holds the end byte
//     0x1A.
// A block may hold more bytes than announced: tape images pad blocks with zeros up to the next
// marker. Fewer is a cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/tape/casblocks.h"

// Every ASCII data block holds this many bytes.
constexpr std::size_t kAsciiBlockSize = 256;
// The zeros CSAVE writes after a BASIC program's end link.
constexpr std::size_t kBasicTrailingZeros = 7;

enum class BlockVerdict {
    Unjudged,   // a file header, or a block that no header announces, or one whose header
                // announces nothing a block can be measured by (a binary end before its load)
    Complete,   // holds every byte its header announces
    Short,      // holds fewer bytes than its header announces: `announced` says how many
    EndMissing, // cut before the point that tells its length: a BASIC program before its end
                // link, a binary block before its three addresses
};

// A block that is whole in itself, but its file stops after it without its end.
enum class FileStop {
    No,
    NoDataBlock, // a file header that no data block follows
    NoAsciiEnd,  // the last block of an ASCII file, without the end byte 0x1A
};

struct BlockJudgement {
    BlockVerdict verdict = BlockVerdict::Unjudged;
    // The kind of the header of the file the block belongs to; Data for a block of no file.
    TapeBlockKind file = TapeBlockKind::Data;
    std::size_t announced = 0; // Complete, Short: the bytes the block should hold
    FileStop stop = FileStop::No;
};

struct BlockBytes {
    const std::uint8_t* data;
    std::size_t size;
};

// Judges every block of a tape in order: each data block by the file header before it, each file
// by whether its blocks reach its end. Accepts any bytes.
std::vector<BlockJudgement> judgeTapeBlocks(const std::vector<BlockBytes>& blocks);

// What is wrong with block `number`, holding `held` bytes, as the rest of a sentence that starts
// with "block N": "holds 16446 of the 16447 bytes that its header announces"; empty when nothing
// is.
std::string blockFault(const BlockJudgement& judgement, std::size_t held);

// The bytes the last of `blocks` should hold: a file header its ten id bytes and six letters of
// name, a data block what its file's header announces (as judgeTapeBlocks judges it, whether it
// holds them or not); 0 when nothing tells.
std::size_t announcedSize(const std::vector<BlockBytes>& blocks);

// What a wrong byte read from a recording would leave in a file's blocks, so that a decoder does
// not take the block for something else without a word.
//   - A block of a file header's size whose first ten bytes mostly (kMostIdBytes of them) repeat
//     the id of a kind of file, but not all: a header one of whose id bytes is wrong. The indices
//     of the bytes that differ; empty for a header, and for any other block.
//   - A file header's name bytes that do not print: an MSX saves the name typed on its keyboard.
constexpr std::size_t kMostIdBytes = 7;
std::vector<std::size_t> strayIdBytes(const std::uint8_t* block, std::size_t size);
// Whether a block of `size` bytes has a file header's size: its ten id bytes and six of name, and
// short of a marker's worth of padding after them.
bool fileHeaderSized(std::size_t size);
std::vector<std::size_t> unprintableNameBytes(const std::uint8_t* block, std::size_t size);
