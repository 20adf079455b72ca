#pragma once
// Reading the bytes of one block after its lead-in tone. Each byte is a 0 start bit, eight data
// bits and two 1 stop bits. The first start bit is found where the lead-in turns to the low tone;
// from there the timing follows the tones' phases bit by bit (tonephases.h), held to the turns from
// the stop bits to the start bits, and the bit length follows the tape speed, so a tape that drifts
// or wobbles is followed along the block. There is no length field: the block ends where the signal
// ends.
//
// Where the signal is damaged inside the block (a dropout, a splice or a crease that makes the tape
// jump, a burst of noise) the reader finds the byte framing again at the next start bit that the
// signal allows: the bytes there must frame one after the other. The stretch between is counted
// in bytes from its duration and the bit length, and those bytes are given as 0x00, so that the
// bytes after it keep their places (a jump loses time as well as bytes: its count is a least one,
// which the block's file header may correct, see casdecoder.h).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/audio/decoder/bitdetector.h"
#include "core/audio/decoder/bytebits.h"
#include "core/audio/decoder/leadinfinder.h"
#include "core/audio/decoder/signalwindow.h"
#include "core/audio/decoder/tonephases.h"

enum class BlockEnd {
    Silence,       // the signal stopped after a whole byte, as a block ends
    NextTone,      // a steady tone of 1 bits followed directly: the next block's lead-in
    MidByte,       // the signal stopped in the middle of a byte: the block ends early
    RecordingEnds, // the recording stops while the block still sounds: it ends early
};

// What damaged a stretch of a block.
enum class Damage {
    Dropout, // the signal was gone: time went on, so the count of bytes lost is sure
    Noise,   // the signal was drowned, and came back in step: the count is sure
    Jump,    // the signal came back out of step: tape was lost (a splice, a crease) or slipped, so
             // the count is only a least one
};

// Bytes of a block that could not be read, given as 0x00.
struct LostBytes {
    std::size_t first = 0; // the index of the first of them in the block
    std::size_t count = 0;
    Damage damage = Damage::Dropout;
    double from = 0; // sample position where the damage starts
    double to = 0;   // where the signal is back (for a dropout: where it is back after silence)
    // The byte before was read, but a jump may lie in it: its value is in doubt.
    bool doubtfulBefore = false;
    // No stretch the reader saw, but a byte that did not frame between bytes that do, where the
    // tape may have jumped by whole bytes (the timing takes up a part of a byte): it holds bytes
    // only when the block's file header says the block lacks some that no other stretch took.
    bool unseen = false;
};

// How each of a byte's bits was decided: its margin (tonephases.h), positive for a 1 bit and
// negative for a 0 bit; 0 for a bit of a lost byte. Takes of one tape add them up
// (decoder/takes.h).
using BitMargins = std::array<float, kTapeByteBits>;

struct ReadBlock {
    int baud = 0;
    double speed = 1.0; // measured on the lead-in tone
    double start = 0;   // sample position of the first start bit
    double end = 0;     // sample position after the last whole byte
    double stopsAt = 0; // for MidByte: where the signal stopped
    std::vector<std::uint8_t> bytes;
    std::vector<BitMargins> margins;        // one for each of bytes
    std::vector<std::size_t> framingErrors; // indices of bytes with a start bit that is not 0 or
                                            // a stop bit that is not 1
    std::vector<double> framingErrorStarts; // sample position of each of those bytes
    std::vector<std::size_t> unsure; // indices of bytes that frame, but a bit of which was told
                                     // from the other value by a narrow margin
    std::vector<double> unsureStarts;
    std::vector<LostBytes> lost; // in the order of the block; a jump or noise that lost no whole
                                 // byte by its duration has a count of 0 (the block's file
                                 // header may tell that it did)
    std::size_t goodBytes = 0;   // bytes read that framed
    BlockEnd ending = BlockEnd::Silence;
};

class BlockReader {
  public:
    BlockReader(SignalWindow& signal, double sampleRate)
        : signal_(signal), sampleRate_(sampleRate), detector_(signal) {}

    // Reads the block after `tone`; false when no byte follows the tone. `block.end` then tells
    // where the tone ended.
    bool read(const LeadInTone& tone, ReadBlock& block);

  private:
    struct Resumption;
    bool findFirstStartBit(double from, double& at);
    bool leadInGoesOn(double& at);
    void measureToneBefore(double first);
    void readBytes(double first, ReadBlock& block);
    double followStartBit(double expected);
    void setBitLength(double samples);
    void endAtRecordingEnd(double start, ReadBlock& block) const;
    // Whether the recording holds the byte at `position`, but for its last `bitsShort` bits.
    bool fits(double position, double bitsShort = 0) const;
    float silence() const;
    bool gridHolds(double start, int bytes) const;
    bool clearByte(const BitDetector& probe, double start, bool& silent) const;
    bool resumesAt(double start, double& bitLength) const;
    double resumeEarlier(double at, double bitLength, double earliest) const;
    bool findResumption(double from, Resumption& found) const;
    LostBytes lostBetween(const ReadBlock& block, double from, double at,
                          const Resumption& found) const;
    bool inBurst(const ByteBits& byte, double start) const;
    LostBytes lostByte(const ByteBits& byte, double start, std::size_t index) const;
    void keepLost(ReadBlock& block, const LostBytes& lost);
    void dropLastRead(ReadBlock& block);
    bool retimedPlace(std::size_t k, const std::vector<double>& places, double& at,
                      double& bitLength) const;
    void readEarlyAgain(ReadBlock& block);
    void dropLeadInByte(ReadBlock& block) const;
    bool inStepNearby(double first, double bitLength, double& better) const;
    double resume(ReadBlock& block, double start, const Resumption& found);

    // A byte read since the last lost stretch.
    struct RecentByte {
        std::size_t index;
        double start;
        int unclearBits;
    };

    // A byte of the block read before the references of the tones and the
    // timing had settled: its bits were decided by their energies, with weaker margins, over
    // windows placed by a timing still finding its way. Once the references are learnt, they
    // tell where each of these bytes lies; the bytes are measured again there and decided as the
    // rest of the block's are.
    struct EarlyByte {
        std::size_t index;
        int stretch; // the bytes between two damaged stretches lie on one timing
        double start;
        double bitLength;
        std::uint8_t value;
        ByteBits bits;
    };

    SignalWindow& signal_;
    double sampleRate_;
    BitDetector detector_;
    ToneReferences tones_;
    std::vector<RecentByte> recent_; // the latest of them
    double resumedAt_ = -1;          // where the reading last resumed after damage in this block
    double nominalBit_ = 0;          // the bit length at nominal speed
    double level_ = 0; // the energy of a bit of the block, followed as the level changes
    std::vector<EarlyByte> early_;
    bool gathering_ = false; // whether the bytes read are still the block's early ones
    int stretch_ = 0;        // how many damaged stretches the reading passed so far
    bool leadInFirst_ =
        false;         // whether the block's first byte sounded as the lead-in after its start bit
    int settling_ = 0; // how many more bytes are early ones once the references are trusted
};
