#include "core/audio/casdecoder.h"

#include <algorithm>

#include "core/tape/casblocks.h"

namespace {

DecodedBlock describe(const ReadBlock& read, double sampleRate) {
    DecodedBlock block;
    block.seconds = read.start / sampleRate;
    block.endSeconds = read.end / sampleRate;
    block.stopSeconds = read.stopsAt / sampleRate;
    block.baud = read.baud;
    block.speed = read.speed;
    block.bytes = read.bytes;
    block.framingErrors = read.framingErrors;
    for (std::size_t index : read.framingErrors)
        block.framingErrorSeconds.push_back(read.byteStarts[index] / sampleRate);
    block.ending = read.ending;
    return block;
}

} // namespace

std::vector<DecodedBlock> decodeTape(const std::vector<float>& signal, double sampleRate,
                                     const DecodeOptions& options) {
    std::vector<DecodedBlock> blocks;
    const LeadInFinder finder(signal, sampleRate, options.baud);
    BlockReader reader(signal, sampleRate);
    std::size_t from = 0;
    LeadInTone tone;
    while (from < signal.size() && finder.find(from, tone)) {
        ReadBlock read;
        const bool gotBytes = reader.read(tone, read);
        if (gotBytes)
            blocks.push_back(describe(read, sampleRate));
        // Go on after the block, or after the tone that had no bytes, but never stay in place.
        const double next = std::max(read.end, tone.confirmed);
        from = static_cast<std::size_t>(next) + 1;
    }
    return blocks;
}

std::vector<std::uint8_t> tapeImage(const std::vector<DecodedBlock>& blocks) {
    std::vector<std::uint8_t> image;
    for (const DecodedBlock& block : blocks) {
        image.resize((image.size() + kBlockMarkerSize - 1) / kBlockMarkerSize * kBlockMarkerSize,
                     0x00);
        image.insert(image.end(), kBlockMarker.begin(), kBlockMarker.end());
        image.insert(image.end(), block.bytes.begin(), block.bytes.end());
    }
    return image;
}
