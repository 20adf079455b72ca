#pragma once
// Decoding a cassette recording into the blocks of a tape image: lead-in tones are found one after
// the other, and the bytes after each are read until its signal ends. The recording is read as a
// stream (signalwindow.h), block by block, so a caller may show its progress between blocks.
//
// Bytes lost in a damaged stretch are given as 0x00 (blockreader.h). Where the block's file header
// announces how long the block is (core/tape/tapefiles.h), that length settles how many bytes the
// stretches that lost time (jumps) held, so the bytes after them keep their places; the count of a
// dropout or of noise comes from its duration.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/audio/decoder/blockreader.h"
#include "core/audio/decoder/leadinfinder.h"
#include "core/audio/decoder/signalwindow.h"

struct DecodeOptions {
    int baud = 0; // 1200 or 2400 to listen for that rate only; 0 to find it for each block
    // Keep the signal's envelope (decoderecordings.h) for a picture of the recording; without
    // a picture to draw, the decode is spared going over every sample once more.
    bool envelope = true;
    // Keep each byte's bits' margins, which takes of one tape decoded together add up
    // (decoder/takes.h); a single recording is spared them, 44 bytes for every byte of the tape.
    bool margins = true;
};

// How sure the count of a stretch's lost bytes is.
enum class LostCount {
    Sure,      // by the stretch's duration with a file header that agrees, or by the header alone
    Estimated, // by the duration, with no file header to tell the block's length
    AtLeast,   // the tape jumped and no file header tells the block's length: at least this many
    Guessed,   // the header tells how many the block's jumps lost together, not how many each did
};

struct LostStretch {
    std::size_t first = 0; // index of the first lost byte in the block
    std::size_t count = 0;
    Damage damage = Damage::Dropout;
    double seconds = 0; // where the damage starts and ends in the recording
    double endSeconds = 0;
    LostCount sureness = LostCount::Sure;
    bool doubtfulBefore = false; // the byte before was read where the tape may have jumped already
    bool unseen =
        false; // a byte that did not frame, where the tape may have jumped (blockreader.h)
};

// Why a byte kept as read is not sure to be the tape's.
enum class Doubt {
    Faint,   // a bit of it was told from the other value by a narrow margin, as noise leaves it
    Jump,    // the signal jumps out of step right after it, and how many bytes the jump took
             // no file header tells
    IdBytes, // one of a file header's ten id bytes that differ from the rest
    Name,    // a byte of a file header's name that does not print
    Takes,   // takes of the tape read a bit of it clearly as different values (decoder/takes.h)
    Beside,  // the only takes that hold it read it right beside their damage, and doubted it
};

struct UnsureBytes {
    std::size_t first = 0; // index of the first of them in the block
    std::size_t count = 1;
    double seconds = 0; // where the first starts in the recording
    Doubt doubt = Doubt::Faint;
};

struct DecodedBlock {
    double seconds = 0;     // where the first byte starts in the recording
    double endSeconds = 0;  // after its last whole byte
    double stopSeconds = 0; // where the signal stopped, for a block that ends mid-byte
    int baud = 0;
    double speed = 1.0;
    std::vector<std::uint8_t> bytes;
    std::vector<BitMargins> margins;        // one for each of bytes (blockreader.h)
    std::vector<std::size_t> framingErrors; // indices into bytes
    std::vector<double> framingErrorSeconds;
    std::vector<LostStretch> lost;   // the lost bytes, given as 0x00, in the order of the block
    std::vector<UnsureBytes> unsure; // in the order of the block
    BlockEnd ending = BlockEnd::Silence;
    bool endsEarly() const {
        return ending == BlockEnd::MidByte || ending == BlockEnd::RecordingEnds;
    }
};

class TapeDecoder {
  public:
    TapeDecoder(SampleSource& signal, double sampleRate, const DecodeOptions& options);

    // Decodes the next block heard; false when the recording holds no more.
    bool next();
    // Every block decoded so far, in order.
    const std::vector<DecodedBlock>& blocks() const { return blocks_; }
    // The blocks, handed over once the decoding is done.
    std::vector<DecodedBlock> takeBlocks() { return std::move(blocks_); }

  private:
    void place(DecodedBlock& block) const;
    void doubtFile(DecodedBlock& block) const;

    double sampleRate_;
    bool keepMargins_;
    SignalWindow window_;
    LeadInFinder finder_;
    BlockReader reader_;
    std::size_t from_ = 0;
    std::vector<DecodedBlock> blocks_;
};

// Every block heard in `signal`, in order; empty when no lead-in tone was heard.
std::vector<DecodedBlock> decodeTape(SampleSource& signal, double sampleRate,
                                     const DecodeOptions& options);
std::vector<DecodedBlock> decodeTape(const std::vector<float>& signal, double sampleRate,
                                     const DecodeOptions& options);

// A file header's ten id bytes are one byte written ten times. Where most of them read as the id of
// a kind of file and are sure, a copy in doubt only for its faint bits (each bit that reads
// otherwise told apart by a narrow margin, as noise leaves it) is that id too, as sure as the rest
// are together: its margins become theirs. A copy that reads a bit clearly otherwise, or was lost,
// keeps its doubt.
void settleIdBytes(DecodedBlock& block);

// The tape image of the blocks: each block's marker at an offset that is a multiple of 8 (0x00
// bytes fill the gap after the previous block), then its bytes.
std::vector<std::uint8_t> tapeImage(const std::vector<DecodedBlock>& blocks);
