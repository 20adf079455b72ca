#pragma once
// The decoder as every front end runs it: recordings opened from their bytes, their tape signal
// taken, their blocks decoded and laid into a tape image, and what may be wrong in that image
// found. The result holds everything the front ends show (the report's lines, the JSON, the
// labels, the picture, all in core/audio/report/); they only present it.
//
// Several recordings of one tape (takes) may be given: each is decoded on its own and its blocks
// kept with their times in it; the image is made of the blocks they hold together (takes.h).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/decoder/takes.h"
#include "core/audio/decoder/tapesignal.h"
#include "core/audio/formats/recording.h"
#include "core/files/bytesource.h"
#include "core/files/filefailure.h"
#include "core/tape/tapefiles.h"

// One recording to decode.
struct RecordingInput {
    std::string name;             // the file, as failures name it
    ByteSource* source = nullptr; // its bytes (a .wav or a .flac file); must outlive the decode
    ChannelChoice channel = ChannelChoice::Best;
};

// What was heard in one recording.
struct DecodedTake {
    std::string name;
    RecordingFormat format;
    double seconds = 0; // how long the recording is
    std::vector<DecodedBlock> blocks;
    // The signal's envelope: the loudest sample of each stretch of 1/kEnvelopeRate seconds.
    std::vector<float> envelope;
};

// Stretches of the envelope per second.
constexpr double kEnvelopeRate = 200;

// A block of the image: where it lies in the image and in the recording it was taken from (with
// several takes, the first that holds it).
struct ImageBlock {
    std::size_t take = 0;   // index into DecodeResult::takes
    std::size_t block = 0;  // index into that take's blocks
    std::size_t offset = 0; // of its first byte in the image, after its marker
    std::size_t length = 0; // its bytes, the marker not counted
    double start = 0;       // seconds in its recording: where its first byte starts
    double end = 0;         // where it stops sounding
    std::string file;       // the file it belongs to, as its header names it; empty for none
    bool header = false;    // it is that file's header
};

enum class ProblemKind {
    Lost,      // bytes lost to damage, written as 0x00
    Unsure,    // bytes kept as read that may not be the tape's
    Doubtful,  // the byte read just before a lost stretch, which may hold some of it
    Misplaced, // bytes whose places are a guess: between jumps that share the lost bytes by a
               // guess, or after a jump that lost at least so many
    Framing,   // a byte whose start or stop bits are wrong
    CutShort,  // a block that holds fewer bytes than it should: the rest is not in the image
    Unended,   // a file whose blocks stop before its end
};

// Something in the image that may be wrong. Every byte of the image that may be wrong lies in
// one; a CutShort or Unended problem names no byte (length 0) but the place where bytes lack.
struct DecodeProblem {
    ProblemKind kind = ProblemKind::Lost;
    std::size_t imageBlock = 0; // index into DecodeResult::blocks
    std::size_t first = 0;      // the first byte in its block
    std::size_t count = 0;
    std::size_t offset = 0; // the same bytes in the image
    std::size_t length = 0;
    double start = 0; // seconds in the block's recording
    double end = 0;
    // Lost: what damaged them and how sure their count is; Unsure: why.
    Damage damage = Damage::Dropout;
    LostCount sureness = LostCount::Sure;
    Doubt doubt = Doubt::Faint;
};

struct DecodeResult {
    // Set when the decode gave no image: a recording that cannot be read, holds no tape signal,
    // or turned out damaged on the way.
    bool failed = false;
    FileFailure failure;
    std::vector<DecodedTake> takes;
    // With several takes, the tape they hold together: its blocks are the image's, and its
    // sources tell which takes held each and where.
    CombinedTape combined;
    std::vector<std::uint8_t> image;
    std::vector<ImageBlock> blocks;
    std::vector<DecodeProblem> problems; // in the order of the image
    bool clean = false;                  // no problem at all

    // The blocks the image is made of: the one take's, or those the takes hold together.
    const std::vector<DecodedBlock>& decodedBlocks() const {
        return takes.size() > 1 ? combined.blocks : takes.at(0).blocks;
    }
};

// Called between the steps with the step's name ("reading", "signal", "decoding") and how far
// the whole decode has come, 0 to 0.95 (the rest is left to what the caller makes of the result).
using DecodeProgress = std::function<void(const char* stage, double fraction)>;

// Decodes `takes` (at least one) into a tape image.
DecodeResult decodeRecordings(const std::vector<RecordingInput>& takes,
                              const DecodeOptions& options, const DecodeProgress& progress = {});

// The image, blocks, problems and verdict of the result's decoded blocks (decodedBlocks()), as
// decodeRecordings lays them out (for callers that decode a signal themselves, into one take).
void layOutImage(DecodeResult& result);

// Each block's file-header judgement, in order.
std::vector<BlockJudgement> judgeDecodedBlocks(const std::vector<DecodedBlock>& blocks);

// The block's unsure bytes, those of one kind in a row joined into one stretch.
std::vector<UnsureBytes> unsureStretches(const DecodedBlock& block);

// Whether the block has bytes whose places are guesses: those read between the first and the last
// jump whose share of the lost bytes is guessed, from `first` up to `end` (lost ones among them).
bool guessedPlaces(const DecodedBlock& block, std::size_t& first, std::size_t& end);
