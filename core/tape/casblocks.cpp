#include "core/tape/casblocks.h"

#include <algorithm>

TapeFileKind fileHeaderKind(const std::uint8_t* block, std::size_t size) {
    if (size < kFileIdSize)
        return TapeFileKind::None;
    const std::uint8_t id = block[0];
    if (id != kBinaryFileId && id != kBasicFileId && id != kAsciiFileId)
        return TapeFileKind::None;
    if (!std::all_of(block, block + kFileIdSize, [id](std::uint8_t b) { return b == id; }))
        return TapeFileKind::None;
    if (id == kBinaryFileId)
        return TapeFileKind::Binary;
    return id == kBasicFileId ? TapeFileKind::Basic : TapeFileKind::Ascii;
}

namespace {

// Follows the files on the tape block by block to tell which blocks continue the current file.
class LeadInTracker {
  public:
    LeadIn next(const std::uint8_t* block, std::size_t size) {
        const TapeFileKind header = fileHeaderKind(block, size);
        if (header != TapeFileKind::None) {
            expecting_ = header;
            return LeadIn::Long;
        }
        switch (expecting_) {
        case TapeFileKind::Binary:
        case TapeFileKind::Basic:
            // A binary or BASIC file is one header and one data block.
            expecting_ = TapeFileKind::None;
            return LeadIn::Short;
        case TapeFileKind::Ascii:
            // An ASCII file goes on block by block until the one that holds its end byte.
            if (std::find(block, block + size, kAsciiEnd) != block + size)
                expecting_ = TapeFileKind::None;
            return LeadIn::Short;
        case TapeFileKind::None:
            break;
        }
        return LeadIn::Long;
    }

  private:
    TapeFileKind expecting_ = TapeFileKind::None;
};

} // namespace

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
    LeadInTracker tracker;
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const std::size_t offset = markers[i] + kBlockMarkerSize;
        const std::size_t end = i + 1 < markers.size() ? markers[i + 1] : size;
        const std::size_t length = end - offset;
        blocks.push_back({offset, length, tracker.next(data + offset, length)});
    }
    return blocks;
}

BinaryAddresses readBinaryAddresses(const std::uint8_t* data) {
    const auto word = [data](int at) { return unsigned(data[at]) | unsigned(data[at + 1]) << 8; };
    return {word(0), word(2), word(4)};
}
