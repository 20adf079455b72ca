#include "core/tape/tapedirectory.h"

#include "core/level/leveltitle.h"

std::string tapeFileName(const std::uint8_t* block, std::size_t size) {
    std::string name;
    for (std::size_t i = kFileIdSize; i < size && i < kFileIdSize + kTapeFileNameSize; ++i)
        name += static_cast<char>(block[i]);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

std::string printableFileName(const std::string& name) {
    std::string text;
    for (const char c : name)
        text += isPrintableTitleChar(static_cast<unsigned char>(c)) ? c : '?';
    return text;
}

namespace {

// The addresses lie in the block after a binary header, when that block is data and long enough.
void readAddresses(const std::uint8_t* data, TapeDirectoryEntry& header,
                   const TapeDirectoryEntry& next) {
    if (next.kind != TapeBlockKind::Data || next.size < kBinaryAddressBytes)
        return;
    header.hasAddresses = true;
    header.addresses = readBinaryAddresses(data + next.offset);
}

} // namespace

std::vector<TapeDirectoryEntry> readTapeDirectory(const std::uint8_t* data, std::size_t size) {
    std::vector<TapeDirectoryEntry> entries;
    for (const TapeBlock& block : readTapeBlocks(data, size)) {
        TapeDirectoryEntry entry;
        entry.offset = block.offset;
        entry.size = block.size;
        entry.kind = tapeBlockKind(data + block.offset, block.size);
        if (entry.kind != TapeBlockKind::Data)
            entry.name = tapeFileName(data + block.offset, block.size);
        entries.push_back(entry);
    }
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        if (entries[i].kind == TapeBlockKind::Binary)
            readAddresses(data, entries[i], entries[i + 1]);
    return entries;
}
