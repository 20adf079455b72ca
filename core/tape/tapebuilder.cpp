#include "core/tape/tapebuilder.h"

#include <algorithm>

#include "core/tape/casblocks.h"

void appendTapeBlock(std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& block) {
    image.insert(image.end(), kBlockMarker.begin(), kBlockMarker.end());
    image.insert(image.end(), block.begin(), block.end());
}

std::vector<std::uint8_t> fileHeaderBlock(std::uint8_t id, const std::string& name) {
    // Sized once and filled in place: GCC 12's -Warray-bounds misreads an insert after the fill.
    std::vector<std::uint8_t> header(kFileIdSize + name.size(), id);
    std::copy(name.begin(), name.end(), header.begin() + kFileIdSize);
    return header;
}
