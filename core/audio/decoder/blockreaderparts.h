#pragma once
// What the parts of the block reader share (blockreader.cpp reads the bytes, leadinend.cpp finds
// the first start bit, bittiming.cpp follows the bits' timing, damagerecovery.cpp reads on after
// damage): the reader's tuning, and what a damaged stretch is followed by. Only those files
// include it.
#include <cstddef>

#include "core/audio/decoder/blockreader.h"

// A bit whose tones are this much weaker than the block's level is silence.
constexpr float kSilentShare = 0.15f;
// The lead-in is searched for its end in steps of a quarter bit.
constexpr double kScanStep = 0.25;
constexpr int kSilentSteps = 8;
constexpr int kLowSteps = 2;
// Start bit alignment: how far from the expected place, and in what steps, in bits.
constexpr double kFirstAlignRange = 0.6;
constexpr double kAlignRange = 0.35;
constexpr double kAlignStep = 1.0 / 16;
constexpr int kMostAlignSteps = 10;    // kFirstAlignRange / kAlignStep, rounded up
constexpr double kRealignRange = 0.25; // once the bit length fits the speed at the first byte
// How much of a start bit's measured offset moves the timing, and the bit length.
constexpr double kPhaseGain = 0.5;
constexpr double kLengthGain = 0.05;
// How much of the drift of the tones' phases along a byte moves the bit length: the speed of a
// deck with wow changes by a fraction of a per cent from byte to byte, faster than the start bits
// alone show it.
constexpr double kDriftGain = 0.5;
// Once the tones' phases time the bytes (tonephases.h): how much of a byte's measured offset moves
// the next byte's start and the bit length, and how much of its drift the bit length. The turn to
// the start bit of every fourth byte still holds the timing with a quarter of its offset, so that
// it cannot wander off the bits.
constexpr double kTimedOffsetGain = 0.7;
constexpr double kTimedLengthGain = 0.05;
constexpr double kTimedDriftGain = 0.5;
constexpr std::size_t kAnchorBytes = 4;
constexpr double kAnchorGain = 0.25;
// The speed is measured again on this many bits of the lead-in before the first start bit; the
// references of the tones learn the last of them.
constexpr int kLeadInBits = 32;
constexpr int kLearntLeadInBits = 16;
// A reading that began off the first start bit: this many of the first kStepBytes bytes fail to
// frame, and kStepMargin more frame (by the tones' energies) up to kStepReach bits before or after,
// short of the half byte at which a byte's bits frame again by chance.
constexpr std::size_t kStepBytes = 8;
constexpr std::size_t kOutOfStepStart = 3;
constexpr int kStepMargin = 3;
constexpr int kStepReach = 5;
// The tape speed is followed within these bounds of the nominal one.
constexpr double kSlowest = 0.85;
constexpr double kFastest = 1.15;
// How quickly the block's level follows the bytes, and the lead-in's tone during the search.
constexpr float kLevelFollow = 0.1f;
constexpr float kToneLevelFollow = 0.02f;
// A few bytes before a steady tone come back are a click in the lead-in, not a block.
constexpr std::size_t kGlitchBytes = 2;
constexpr int kLevelBits = 8;
// Damage inside a block. How far on the reader looks for the block's signal to come back, in
// seconds; how many bytes after a damaged one must frame on the same timing for it to hold (one of
// them may fail: noise); how many must frame, each bit sounding near the block's level (no louder
// than kLoudest times it) with one tone clearly the stronger, where the reading resumes on a new
// timing, or how many before the block ends (a short block, a file header, may end first).
constexpr double kLongestDamage = 0.5;
constexpr int kHoldingBytes = 3;
constexpr int kResumingBytes = 4;
constexpr int kEndingBytes = 2;
constexpr float kLoudest = 4.0f;
constexpr float kClearTone = 4.0f;
// A byte read just before damage with this many bits unclear was damaged too.
constexpr int kUnclearBits = 2;
// How many bytes back the reader looks for where a resumed timing began, and keeps the bytes it
// read for that.
constexpr int kLookBackBytes = 8;
constexpr std::size_t kRecentBytes = 16;
// A steady tone of 1 bits this long is a lead-in: no byte holds more than ten 1 bits running.
constexpr double kLeadInRun = 16;
// A stretch of damage after which the bytes come back off their old places by more than this share
// of a byte lost time: the tape jumped. (The timing holds to a few hundredths of a byte.)
constexpr double kJumpShare = 0.15;
// How much of the last stop bit of a block's last byte the recording may lack, in bits.
constexpr double kLastBitCut = 0.25;
// The block's early bytes (blockreader.h): how many bytes after the references are trusted are
// still early ones, as the timing settles; how many bytes either side tell where one lies (few: a
// deck's flutter bends the line of the bytes' places within a tenth of a second), and how many of
// them at least; how far their bit length may lie from the one they were read with, as a
// share; how far one of them may lie off the line through the rest, in bits; and how many there
// may be at most.
constexpr int kSettleBytes = 16;
constexpr double kRetimeSpan = 5;
constexpr double kRetimeLeast = 3;
constexpr double kRetimeLargestDrift = 0.03;
constexpr double kRetimeStray = 0.25;
constexpr std::size_t kMostEarlyBytes = 256;
// The samples the reader may still look back at, in bits before the byte it reads: the lead-in
// before a first start bit found anew.
constexpr double kKeptBits = kLeadInBits + 4;

// What follows a damaged stretch: where the reading resumes, with what bit length, and what the
// stretch held.
struct BlockReader::Resumption {
    double at = 0;
    double bitLength = 0;
    bool afterLeadIn = false; // a steady tone of 1 bits came first: a lead-in
    double leadIn = 0;        // where it had lasted long enough to be one
    int silentSteps = 0;      // quarter bits of silence in the stretch
    double silenceFrom = 0;   // where the first and after the last of them lie
    double silenceTo = 0;
};
