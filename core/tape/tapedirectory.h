#pragma once
// The directory of a tape image: what each block holds, the files it starts and where the game's
// standard levels lie in it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/tape/casblocks.h"

// The name of a file follows the ten id bytes of its header.
constexpr std::size_t kTapeFileNameSize = 6;

struct TapeDirectoryEntry {
    std::size_t offset = 0; // of the first byte after the block's marker
    std::size_t size = 0;   // bytes up to the next marker or the end of the image
    TapeBlockKind kind = TapeBlockKind::Data;
    std::string name; // file headers only: up to six bytes as stored, trailing blanks removed
    // Binary file headers whose data block follows and is long enough to hold the addresses.
    bool hasAddresses = false;
    BinaryAddresses addresses;
};

// The name in a file header block: up to six bytes as stored, trailing blanks removed.
std::string tapeFileName(const std::uint8_t* block, std::size_t size);

// A file name's bytes as text: characters that do not print (see isPrintableTitleChar) become '?'.
std::string printableFileName(const std::string& name);

// Every block of the image in order; empty when it holds no marker. Accepts any bytes.
std::vector<TapeDirectoryEntry> readTapeDirectory(const std::uint8_t* data, std::size_t size);
