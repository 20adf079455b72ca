#include "core/tape/tapeimage.h"

#include <algorithm>

#include "core/tape/casblocks.h"

bool isTapeImage(const std::vector<std::uint8_t>& bytes) {
    return std::search(bytes.begin(), bytes.end(), kBlockMarker.begin(), kBlockMarker.end()) !=
           bytes.end();
}

bool checkTapeImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    FileFailure& failure) {
    if (isTapeImage(bytes))
        return true;
    failure = {name, "not a tape image: it has no block marker"};
    return false;
}
