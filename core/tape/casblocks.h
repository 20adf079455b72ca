#pragma once
// Reading a tape image (.cas): the blocks it holds and the lead-in each one is recorded with.
// A tape image is a plain run of blocks, each opened by an 8-byte marker; there is no length field,
// so a block is every byte up to the next marker (padding included, since it cannot be told from
// data). Bytes before the first marker belong to no block and are not recorded.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t kBlockMarkerSize = 8;
constexpr std::array<std::uint8_t, kBlockMarkerSize> kBlockMarker = {0x1F, 0xA6, 0xDE, 0xBA,
                                                                     0xCC, 0x13, 0x7D, 0x74};

// A file header block starts with ten equal bytes naming the kind of file that follows.
constexpr std::size_t kFileIdSize = 10;
constexpr std::uint8_t kBinaryFileId = 0xD0;
constexpr std::uint8_t kBasicFileId = 0xD3;
constexpr std::uint8_t kAsciiFileId = 0xEA;
constexpr std::array<std::uint8_t, 3> kFileIds = {kBinaryFileId, kBasicFileId, kAsciiFileId};
// The byte that ends the text of an ASCII file.
constexpr std::uint8_t kAsciiEnd = 0x1A;

// A binary file's data block starts with its load, end and exec addresses, little-endian.
constexpr std::size_t kBinaryAddressBytes = 6;
struct BinaryAddresses {
    unsigned load = 0;
    unsigned end = 0;
    unsigned exec = 0;
};

// The addresses at the start of a binary file's data block, which holds at least
// kBinaryAddressBytes bytes.
BinaryAddresses readBinaryAddresses(const std::uint8_t* data);

// What a block is: the header of a binary, BASIC or ASCII file, or data (every other block).
enum class TapeBlockKind { Binary, Basic, Ascii, Data };

// What the block of `size` bytes at `block` (its bytes after the marker) is.
TapeBlockKind tapeBlockKind(const std::uint8_t* block, std::size_t size);

// "binary", "BASIC", "ASCII" or "data".
const char* tapeBlockKindName(TapeBlockKind kind);

// Follows the files of a tape block by block. A file header opens a file; a binary or BASIC file
// is its header and one data block, an ASCII file goes on block by block up to the one that holds
// its end byte.
class TapeFileTracker {
  public:
    // Takes the next block, and says what it is and which file it continues: the kind of that
    // file's header, or Data when it continues none (a header, or a block no header announced).
    struct Step {
        TapeBlockKind kind;
        TapeBlockKind continues;
    };
    Step next(const std::uint8_t* block, std::size_t size);

    // The kind of the file whose next block is due, or Data when none is.
    TapeBlockKind open() const { return open_; }

  private:
    TapeBlockKind open_ = TapeBlockKind::Data;
};

// A new file starts with a long silence and a long tone; a block that continues a file gets short
// ones.
enum class LeadIn { Long, Short };

struct TapeBlock {
    std::size_t offset; // of the first byte after the marker
    std::size_t size;   // bytes up to the next marker or the end of the image
    LeadIn leadIn;
};

// Offsets of every block marker in `data`, in ascending order; markers may sit at any offset.
std::vector<std::size_t> findBlockMarkers(const std::uint8_t* data, std::size_t size);

// The blocks of a tape image with their lead-ins; empty when `data` holds no marker. Accepts any
// bytes.
std::vector<TapeBlock> readTapeBlocks(const std::uint8_t* data, std::size_t size);
