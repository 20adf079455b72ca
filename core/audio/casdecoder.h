#pragma once
// Decoding a cassette recording into the blocks of a tape image: lead-in tones are found one after
// the other, and the bytes after each are read until its signal ends.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/audio/blockreader.h"

struct DecodeOptions {
    int baud = 0; // 1200 or 2400 to listen for that rate only; 0 to find it for each block
};

struct DecodedBlock {
    double seconds = 0;     // where the first byte starts in the recording
    double endSeconds = 0;  // after its last whole byte
    double stopSeconds = 0; // where the signal stopped, for a block that ends mid-byte
    int baud = 0;
    double speed = 1.0;
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> framingErrors; // indices into bytes
    std::vector<double> framingErrorSeconds;
    BlockEnd ending = BlockEnd::Silence;
    bool endsEarly() const {
        return ending == BlockEnd::MidByte || ending == BlockEnd::RecordingEnds;
    }
};

// Every block heard in `signal`, in order; empty when no lead-in tone was heard.
std::vector<DecodedBlock> decodeTape(const std::vector<float>& signal, double sampleRate,
                                     const DecodeOptions& options);

// The tape image of the blocks: each block's marker at an offset that is a multiple of 8 (0x00
// bytes fill the gap after the previous block), then its bytes.
std::vector<std::uint8_t> tapeImage(const std::vector<DecodedBlock>& blocks);
