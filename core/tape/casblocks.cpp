#include "core/tape/casblocks.h"

#include <algorithm>

TapeBlockKind tapeBlockKind(const std::uint8_t* block, std::size_t size) {
    if (size < kFileIdSize)
        return TapeBlockKind::Data;
    const std::uint8_t id = block[0];
    if (id != kBinaryFileId && id != kBasicFileId && id != kAsciiFileId)
        return TapeBlockKind::Data;
    if (!std::all_of(block, block + kFileIdSize, [id](std::uint8_t b) { return b == id; }))
        return TapeBlockKind::Data;
    if (id == kBinaryFileId)
        return TapeBlockKind::Binary;
    return id == kBasicFileId ? TapeBlockKind::Basic : TapeBlockKind::Ascii;
}

const char* tapeBlockKindName(TapeBlockKind kind) {
    switch (kind) {
    case TapeBlockKind::Binary:
        return "binary";
    case TapeBlockKind::Basic:
        return "BASIC";
    case TapeBlockKind::Ascii:
        return "ASCII";
    case TapeBlockKind::Data:
        break;
    }
    return "data";
}

TapeFileTracker::Step TapeFileTracker::next(const std::uint8_t* block, std::size_t size) {
    const TapeBlockKind kind = tapeBlockKind(block, size);
    if (kind != TapeBlockKind::Data) {
        open_ = kind;
        return {kind, TapeBlockKind::Data};
    }
    const TapeBlockKind continues = open_;
    // A binary or BASIC file ends with its one data block, an ASCII file with its end byte.
    if (open_ != TapeBlockKind::Ascii || std::find(block, block + size, kAsciiEnd) != block + size)
        open_ = TapeBlockKind::Data;
    return {kind, continues};
}

std::vector<std::size_t> findBlockMarkers(const std::uint8_t* data, std::size_t size) {
    std::vector<std::size_t> offsets;
    const std::uint8_t* end = data + size;
    const std::uint8_t* at = data;
    while (true) {
        at = std::search(at, end, kBlockMarker.begin(), kBlockMarker.end());
        if (at == end)
            break;
        offsets.push_back(static_cast<std::size_t>(at - data));
        // The marker cannot overlap itself, so the next one starts after this one.
        at += kBlockMarkerSize;
    }
    return offsets;
}

std::vector<TapeBlock> readTapeBlocks(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::size_t> markers = findBlockMarkers(data, size);
    std::vector<TapeBlock> blocks;
    blocks.reserve(markers.size());
    TapeFileTracker files;
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const std::size_t offset = markers[i] + kBlockMarkerSize;
        const std::size_t end = i + 1 < markers.size() ? markers[i + 1] : size;
        const std::size_t length = end - offset;
        const bool continuesFile =
            files.next(data + offset, length).continues != TapeBlockKind::Data;
        blocks.push_back({offset, length, continuesFile ? LeadIn::Short : LeadIn::Long});
    }
    return blocks;
}

BinaryAddresses readBinaryAddresses(const std::uint8_t* data) {
    const auto word = [data](int at) { return unsigned(data[at]) | unsigned(data[at + 1]) << 8; };
    return {word(0), word(2), word(4)};
}
