#pragma once
// Reading the bytes of one block after its lead-in tone, each the 11 bits of tapebyte.h. The bit
// timing is found again on every start bit (the turn from the high tone of the stop bits to the
// low tone of the start bit), and the bit length follows the tape speed slowly, so a tape that
// drifts is followed along the block. There is no length field: the block ends where the signal
// ends.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/audio/bitdetector.h"
#include "core/audio/leadinfinder.h"

enum class BlockEnd {
    Silence,       // the signal stopped after a whole byte, as a block ends
    NextTone,      // a steady tone of 1 bits followed directly: the next block's lead-in
    MidByte,       // the signal stopped in the middle of a byte: the block ends early
    RecordingEnds, // the recording stops while the block still sounds: it ends early
};

struct ReadBlock {
    int baud = 0;
    double speed = 1.0; // measured on the lead-in tone
    double start = 0;   // sample position of the first start bit
    double end = 0;     // sample position after the last whole byte
    double stopsAt = 0; // for MidByte: where the signal stopped
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> framingErrors; // indices of bytes with a start bit that is not 0 or
                                            // a stop bit that is not 1
    std::vector<double> byteStarts;         // sample position of each byte's start bit
    BlockEnd ending = BlockEnd::Silence;
};

class BlockReader {
  public:
    BlockReader(const std::vector<float>& signal, double sampleRate)
        : signal_(signal), sampleRate_(sampleRate), detector_(signal) {}

    // Reads the block after `tone`; false when no byte follows the tone. `block.end` then tells
    // where the tone ended.
    bool read(const LeadInTone& tone, ReadBlock& block);

  private:
    bool findFirstStartBit(double from, double& at);
    void measureToneBefore(double first);
    double alignStartBit(double around, double range) const;
    void readBytes(double first, ReadBlock& block);
    double followStartBit(double expected);
    void setBitLength(double samples);
    void endAtRecordingEnd(double start, ReadBlock& block) const;
    bool fits(double position) const;

    const std::vector<float>& signal_;
    double sampleRate_;
    BitDetector detector_;
    double nominalBit_ = 0; // the bit length at nominal speed
    double level_ = 0;      // the energy of a bit of the block, followed as the level changes
};
