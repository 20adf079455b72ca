#include "core/audio/blockreader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "core/audio/fullturn.h"

namespace {

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
// The samples the reader may still look back at, in bits before the byte it reads: the lead-in
// before a first start bit found anew.
constexpr double kKeptBits = kLeadInBits + 4;

// The position near `around` where the signal turns from a 1 bit to a 0 bit most clearly: the bit
// before it sounds the high tone and the bit from it the low one.
double alignStartBit(const BitDetector& detector, double around, double range) {
    const double step = kAlignStep * detector.bitLength();
    const int steps = static_cast<int>(range / kAlignStep);
    std::array<double, 2 * kMostAlignSteps + 1> score{};
    for (int k = -steps; k <= steps; ++k) {
        const double position = around + k * step;
        const BitEnergies before = detector.measure(position - detector.bitLength());
        const BitEnergies start = detector.measure(position);
        score[k + steps] = (before.mark - before.space) + (start.space - start.mark);
    }
    const auto first = score.begin();
    const int best = static_cast<int>(std::max_element(first, first + 2 * steps + 1) - first);
    const double bestPosition = around + (best - steps) * step;
    if (best == 0 || best == 2 * steps)
        return bestPosition;
    // A parabola through the best score and its neighbours places the turn between the steps.
    const double left = score[best - 1];
    const double right = score[best + 1];
    const double curvature = left - 2 * score[best] + right;
    return curvature < 0 ? bestPosition + 0.5 * (left - right) / curvature * step : bestPosition;
}

// The first bit of the run of silent bits that ends the byte; kTapeByteBits when the last bit
// sounds.
int silentTail(const ByteBits& byte) {
    int first = kTapeByteBits;
    while (first > 0 && byte.silent[first - 1])
        --first;
    return first;
}

// Whether the start bit and the bits after it up to `end` sound, but for the odd one lost in noise.
bool mostlySounding(const ByteBits& byte, int end) {
    if (byte.silent[0])
        return false;
    int sounding = 0;
    for (int i = 0; i < end; ++i)
        sounding += byte.silent[i] ? 0 : 1;
    return 4 * sounding >= 3 * end;
}

bool allOnes(const ByteBits& byte) {
    for (const BitEnergies& bit : byte.bits)
        if (!bit.isOne())
            return false;
    return true;
}

// Whether so many of the byte's bits are silent that it was not heard: noise may drown a bit or
// two of a sounding byte now and then.
constexpr int kDrownedBits = 2;
bool unheard(const ByteBits& byte) {
    return byte.soundingBits < kTapeByteBits - kDrownedBits;
}

// Whether the block ends at this byte, and how. A cut shows as a run of sounding bits from the
// start bit, then silence to the end of the byte; noise after a block sounds in a scattered bit or
// two.
bool endsHere(const ByteBits& byte, BlockEnd& ending, int& soundingBits) {
    soundingBits = silentTail(byte);
    if (soundingBits >= 2 && soundingBits < kTapeByteBits - 1 && mostlySounding(byte, soundingBits))
        ending = BlockEnd::MidByte;
    else if (2 * byte.soundingBits < kTapeByteBits)
        ending = BlockEnd::Silence;
    else if (allOnes(byte))
        ending = BlockEnd::NextTone;
    else
        return false;
    return true;
}

// The bits of the byte whose stronger tone is not clearly the stronger, as where the reading has
// slipped between two bits.
int unclearBits(const ByteBits& byte) {
    int count = 0;
    for (const BitEnergies& bit : byte.bits)
        count += bit.strongest() < kClearTone * std::min(bit.space, bit.mark) ? 1 : 0;
    return count;
}

// Whether a burst of noise drowns the byte: so many of its bits are unclear that, framed or not,
// its value is a guess: most of them, or half when it sounds louder than the block. Steady noise
// leaves a bit or two unclear now and then (three or four in a byte at 3 dB, rarely), and the
// block's level follows it.
constexpr int kUnclearInDrowned = 6;
constexpr int kUnclearInLoud = 4;
constexpr float kLouderInDrowned = 1.5f;
bool drowned(const ByteBits& byte, double level) {
    const int unclear = unclearBits(byte);
    return unclear >= kUnclearInDrowned ||
           (unclear >= kUnclearInLoud && byte.soundingEnergy > kLouderInDrowned * level);
}

// Whether the byte frames by its tones' energies alone.
bool framedByEnergy(const ByteBits& byte) {
    bool ones[kTapeByteBits];
    for (int i = 0; i < kTapeByteBits; ++i)
        ones[i] = byte.bits[i].isOne();
    return framed(ones);
}

// How much longer the bits of the byte are than the bit length they were read with, as a share of
// it, from how the phase of each tone drifts from bit to bit: a bit of k cycles that starts later
// by d samples than its window is turned back by 2 pi k d / bitLength. The phases of the two tones
// differ by whatever the recording chain did to them, so each tone keeps its own phase and only the
// drift is shared. Noise turns a bit's phase at random, so only sounding bits count.
double phaseDrift(const ByteBits& byte) {
    double sumX[2] = {0, 0}, sumY[2] = {0, 0}, sumXX[2] = {0, 0}, sumXY[2] = {0, 0};
    int count[2] = {0, 0};
    double unwrapped[2] = {0, 0};
    for (int i = 0; i < kTapeByteBits; ++i) {
        if (byte.silent[i])
            continue;
        const int tone = byte.bits[i].isOne() ? 1 : 0;
        const std::complex<float> z = tone ? byte.tones[i].mark : byte.tones[i].space;
        double phase = std::arg(z);
        if (count[tone] > 0) {
            // The phase moves little from one bit of a tone to the next: keep it continuous.
            phase -= kTwoPi * std::nearbyint((phase - unwrapped[tone]) / kTwoPi);
        }
        unwrapped[tone] = phase;
        const double x = kTwoPi * (tone + 1) * i;
        sumX[tone] += x;
        sumY[tone] += unwrapped[tone];
        sumXX[tone] += x * x;
        sumXY[tone] += x * unwrapped[tone];
        ++count[tone];
    }
    double covariance = 0, variance = 0;
    for (int tone = 0; tone < 2; ++tone) {
        if (count[tone] < 2)
            continue;
        covariance += sumXY[tone] - sumX[tone] * sumY[tone] / count[tone];
        variance += sumXX[tone] - sumX[tone] * sumX[tone] / count[tone];
    }
    return variance > 0 ? -covariance / variance : 0;
}

// Whether the byte read as `reading` is sure: each of its bits, the start and stop bits too, told
// from the other value by at least kSureMargin (tonephases.h). Noise that turns a bit leaves it
// near the line between the values far more often than far beyond it; the line lies where
// recordings a few dB above the decoder's edge still have no byte below it.
constexpr float kSureMargin = 0.3f;
bool sure(const ByteReading& reading) {
    for (const float margin : reading.margins)
        if (margin < kSureMargin)
            return false;
    return true;
}

void keepByte(const ByteReading& reading, double start, ReadBlock& block) {
    if (!framed(reading.ones)) {
        block.framingErrors.push_back(block.bytes.size());
        block.framingErrorStarts.push_back(start);
    } else if (!sure(reading)) {
        block.unsure.push_back(block.bytes.size());
        block.unsureStarts.push_back(start);
    }
    block.bytes.push_back(dataByte(reading.ones));
    BitMargins& margins = block.margins.emplace_back();
    for (int i = 0; i < kTapeByteBits; ++i)
        margins[i] = reading.ones[i] ? reading.margins[i] : -reading.margins[i];
}

// The bit length that followed the start bit expected at `expected`, and where it is, as the
// reader follows the start bits when the tones' phases do not time the bytes.
double followStartBitOf(BitDetector& detector, double expected, double nominalBit) {
    const double offset = alignStartBit(detector, expected, kAlignRange) - expected;
    detector.setBitLength(std::clamp(detector.bitLength() + kLengthGain * offset / kTapeByteBits,
                                     nominalBit / kFastest, nominalBit / kSlowest));
    return expected + kPhaseGain * offset;
}

} // namespace

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

bool BlockReader::fits(double position, double bitsShort) const {
    const double end = position + (kTapeByteBits - bitsShort) * detector_.bitLength();
    return end <= static_cast<double>(signal_.reach(static_cast<std::size_t>(std::ceil(end))));
}

float BlockReader::silence() const {
    return kSilentShare * static_cast<float>(level_);
}

bool BlockReader::read(const LeadInTone& tone, ReadBlock& block) {
    block = ReadBlock{};
    block.baud = tone.baud;
    block.speed = tone.speed;
    nominalBit_ = sampleRate_ / tone.baud;
    detector_.setBitLength(nominalBit_ / std::clamp(tone.speed, kSlowest, kFastest));
    level_ = 0;
    for (int i = 0; i < kLevelBits; ++i)
        level_ += detector_.measure(tone.inside + i * detector_.bitLength()).strongest();
    level_ /= kLevelBits;
    double from = tone.inside;
    while (true) {
        double first = 0;
        if (!findFirstStartBit(from, first)) {
            block.end = first;
            return false;
        }
        measureToneBefore(first);
        first = alignStartBit(detector_, first, kRealignRange);
        readBytes(first, block);
        if (block.ending != BlockEnd::NextTone ||
            (block.bytes.size() > kGlitchBytes && 2 * block.goodBytes >= block.bytes.size()))
            return true;
        // A false start bit in the lead-in: its "bytes" are ones, and the tone goes on. The search
        // goes on a bit after it, so it cannot find the same place again.
        from = std::max(block.end, first) + detector_.bitLength();
        const int baud = block.baud;
        const double speed = block.speed;
        block = ReadBlock{};
        block.baud = baud;
        block.speed = speed;
    }
}

// The tape's speed just before the first start bit, from how fast the phase of the lead-in tone
// turns from one bit to the next: the bit length then fits the first bytes, however the speed
// has wandered since the tone was first heard. Bits lost in a dropout do not count.
void BlockReader::measureToneBefore(double first) {
    const double bit = detector_.bitLength();
    const float quiet = silence();
    std::complex<float> turn;
    std::complex<float> previous;
    bool previousSounds = false;
    int turns = 0;
    for (int i = kLeadInBits + 1; i >= 1; --i) {
        const std::complex<float> mark = detector_.correlate(first - i * bit).mark;
        const bool sounds = energy(mark) >= quiet;
        if (i <= kLeadInBits && sounds && previousSounds) {
            turn += mark * std::conj(previous);
            ++turns;
        }
        previous = mark;
        previousSounds = sounds;
    }
    if (2 * turns < kLeadInBits)
        return;
    // Two cycles of the tone per bit: each bit turns the phase by 4 pi times the share by which the
    // tone is faster than the bit length assumes.
    const double faster = 1 + std::arg(turn) / (2 * kTwoPi);
    setBitLength(bit / faster);
}

// Walks along the lead-in tone to the first bit that sounds the low tone. Noise can make one
// step look silent or low: silence must last a few steps, and the low tone two steps running. A
// dropout in the lead-in is passed when the tone comes back after it.
bool BlockReader::findFirstStartBit(double from, double& at) {
    const double step = kScanStep * detector_.bitLength();
    int silentSteps = 0;
    int lowSteps = 0;
    for (double position = from; fits(position); position += step) {
        signal_.release(
            static_cast<std::size_t>(std::max(0.0, position - kKeptBits * detector_.bitLength())));
        const BitEnergies bit = detector_.measure(position);
        const bool silent = bit.strongest() < silence();
        silentSteps = silent ? silentSteps + 1 : 0;
        lowSteps = !silent && !bit.isOne() ? lowSteps + 1 : 0;
        if (silentSteps == kSilentSteps) {
            double back = position;
            if (!leadInGoesOn(back)) {
                at = position;
                return false;
            }
            position = back - step;
            silentSteps = 0;
            continue;
        }
        if (lowSteps == kLowSteps) {
            at = alignStartBit(detector_, position - step, kFirstAlignRange);
            return true;
        }
        if (!silent && bit.isOne())
            level_ += kToneLevelFollow * (bit.strongest() - level_);
    }
    at = static_cast<double>(signal_.size());
    return false;
}

// Whether the lead-in tone comes back, steady, soon after the silence at `at`; `at` is then
// where it does.
bool BlockReader::leadInGoesOn(double& at) {
    const double bit = detector_.bitLength();
    const double limit = at + kLongestDamage * sampleRate_;
    for (double position = at; position < limit && fits(position); position += kScanStep * bit) {
        if (detector_.measure(position).strongest() < silence())
            continue;
        const double tone = position + 0.5 * bit; // clear of the edge of the silence
        for (int i = 0; i < kLeadInRun; ++i) {
            const BitEnergies next = detector_.measure(tone + i * bit);
            if (next.strongest() < silence() || !next.isOne())
                return false;
        }
        at = tone;
        return true;
    }
    return false;
}

// The position near `around` where the signal turns from a 1 bit to a 0 bit most clearly.
// The tape speed is followed within bounds: outside them the reader has lost its way, and the
// next block's lead-in sets the speed afresh.
void BlockReader::setBitLength(double samples) {
    detector_.setBitLength(std::clamp(samples, nominalBit_ / kFastest, nominalBit_ / kSlowest));
}

// The start bit expected at `expected`, aligned on the signal; half of the offset found moves the
// timing, and a little of it the bit length, which so follows the tape's speed.
double BlockReader::followStartBit(double expected) {
    return followStartBitOf(detector_, expected, nominalBit_);
}

// The recording stops within the byte expected at `start`: whether the block still sounds there.
void BlockReader::endAtRecordingEnd(double start, ReadBlock& block) const {
    const double size = static_cast<double>(signal_.size());
    const bool noRoom = start + detector_.bitLength() > size;
    const bool sounding = !noRoom && detector_.measure(start).strongest() >= silence();
    block.end = start;
    block.ending = sounding || noRoom ? BlockEnd::RecordingEnds : BlockEnd::Silence;
}

// Whether the bytes from `start` on frame on the reader's timing (one of them may fail), sounding
// and no louder than the block: the damage was in the byte before alone.
bool BlockReader::gridHolds(double start, int bytes) const {
    BitDetector probe = detector_;
    int failures = 0;
    for (int k = 0; k < bytes; ++k) {
        if (!fits(start))
            return false;
        start = followStartBitOf(probe, start, nominalBit_);
        const ByteBits byte = measureByte(probe, start, silence());
        const bool good = !unheard(byte) && !drowned(byte, level_) && framedByEnergy(byte) &&
                          byte.soundingEnergy <= kLoudest * level_;
        failures += good ? 0 : 1;
        if (failures > 1)
            return false;
        start += kTapeByteBits * probe.bitLength();
    }
    return true;
}

// Whether the byte at `start` is heard clearly: every bit sounding near the block's level with one
// tone clearly the stronger, and framed.
bool BlockReader::clearByte(const BitDetector& probe, double start, bool& silent) const {
    const ByteBits byte = measureByte(probe, start, silence());
    silent = byte.soundingBits == 0;
    for (int i = 0; i < kTapeByteBits; ++i) {
        const BitEnergies& bit = byte.bits[i];
        const float weaker = std::min(bit.space, bit.mark);
        if (byte.silent[i] || bit.strongest() > kLoudest * level_ ||
            bit.strongest() < kClearTone * weaker)
            return false;
    }
    if (!framedByEnergy(byte))
        return false;
    return true;
}

// Whether the reading can resume at the start bit at `start`: the bytes from it are heard clearly
// one after the other, up to kResumingBytes of them or to the end of the block (a short one, such
// as a file header, may end first).
bool BlockReader::resumesAt(double start, double& bitLength) const {
    BitDetector probe = detector_;
    for (int k = 0; k < kResumingBytes; ++k) {
        if (!fits(start))
            return false;
        if (k > 0)
            start = followStartBitOf(probe, start, nominalBit_);
        bool silent = false;
        const bool clear = clearByte(probe, start, silent);
        if (k >= kEndingBytes && silent)
            break;
        if (!clear)
            return false;
        const ByteBits byte = measureByte(probe, start, silence());
        probe.setBitLength(std::clamp(probe.bitLength() * (1 + kDriftGain * phaseDrift(byte)),
                                      nominalBit_ / kFastest, nominalBit_ / kSlowest));
        start += kTapeByteBits * probe.bitLength();
    }
    bitLength = probe.bitLength();
    return true;
}

// The earliest start bit before `at`, no earlier than `earliest`, from which the bytes on the
// resumed timing are heard clearly up to `at`: bytes the reader had taken on its old timing while
// the tape had already left it (the damage is noticed only once a byte fails to frame) are read
// again on the new one.
double BlockReader::resumeEarlier(double at, double bitLength, double earliest) const {
    BitDetector probe = detector_;
    probe.setBitLength(bitLength);
    for (int k = 0; k < kLookBackBytes; ++k) {
        const double before = at - kTapeByteBits * bitLength;
        if (before < earliest - bitLength)
            break;
        const double aligned = alignStartBit(probe, before, kAlignRange);
        bool silent = false;
        if (!clearByte(probe, aligned, silent))
            break;
        at = aligned;
    }
    return at;
}

// Looks on from the damaged byte at `from` for the first start bit where the reading can resume,
// within kLongestDamage; counts the silence on the way and notes a lead-in tone.
bool BlockReader::findResumption(double from, Resumption& found) const {
    const double bit = detector_.bitLength();
    const double step = kScanStep * bit;
    const double limit = from + kLongestDamage * sampleRate_;
    found = Resumption{};
    int markSteps = 0;
    int lowSteps = 0;
    for (double position = from; position < limit && fits(position); position += step) {
        const BitEnergies energies = detector_.measure(position);
        const bool silent = energies.strongest() < silence();
        if (silent) {
            if (found.silentSteps++ == 0)
                found.silenceFrom = position;
            found.silenceTo = position + step;
        }
        markSteps = !silent && energies.isOne() ? markSteps + 1 : 0;
        if (markSteps * kScanStep >= kLeadInRun && !found.afterLeadIn) {
            found.afterLeadIn = true;
            found.leadIn = position;
        }
        lowSteps = !silent && !energies.isOne() ? lowSteps + 1 : 0;
        if (lowSteps < kLowSteps)
            continue;
        const double start = alignStartBit(detector_, position - step, kFirstAlignRange);
        if (start > from && resumesAt(start, found.bitLength)) {
            found.at = start;
            return true;
        }
    }
    return false;
}

// What the damaged stretch from `from` to where the reading resumes held: a dropout when it was
// mostly silent, else noise, or a jump when the bytes after it are out of step with those before.
LostBytes BlockReader::lostBetween(const ReadBlock& block, double from, double at,
                                   const Resumption& found) const {
    const double bit = detector_.bitLength();
    const double bytes = (at - from) / (kTapeByteBits * bit);
    LostBytes lost;
    lost.first = block.bytes.size();
    lost.from = from;
    lost.to = at;
    // A reading that resumes before the byte where it failed found the tape out of step with it:
    // it jumped, whatever silence or noise lay on the way.
    if (at <= from) {
        lost.damage = Damage::Jump;
    } else if (2 * found.silentSteps * kScanStep * bit >= at - from) {
        lost.damage = Damage::Dropout;
        lost.from = found.silenceFrom;
        lost.to = found.silenceTo;
    } else {
        lost.damage =
            std::fabs(bytes - std::nearbyint(bytes)) > kJumpShare ? Damage::Jump : Damage::Noise;
    }
    const double count = lost.damage == Damage::Jump ? std::ceil(bytes) : std::nearbyint(bytes);
    lost.count = static_cast<std::size_t>(std::max(0.0, count));
    return lost;
}

// Gives the lost bytes as 0x00, joined to lost bytes just before them of the same damage.
void BlockReader::keepLost(ReadBlock& block, const LostBytes& lost) {
    recent_.clear();
    block.bytes.insert(block.bytes.end(), lost.count, 0x00);
    block.margins.insert(block.margins.end(), lost.count, BitMargins{});
    if (!block.lost.empty()) {
        LostBytes& last = block.lost.back();
        if (last.first + last.count == lost.first && last.damage == lost.damage && !last.unseen) {
            last.count += lost.count;
            last.to = lost.to;
            return;
        }
    }
    block.lost.push_back(lost);
}

// Whether the byte at `start` lies in a burst of noise: it is drowned, and so is the byte after it
// (one drowned byte alone may be noise that happens so).
bool BlockReader::inBurst(const ByteBits& byte, double start) const {
    return drowned(byte, level_) &&
           drowned(measureByte(detector_, start + kTapeByteBits * detector_.bitLength(), silence()),
                   level_);
}

// The byte at `start`, the `index`th of its block, lost in a dropout that lay within it, or in
// noise that drowned it.
LostBytes BlockReader::lostByte(const ByteBits& byte, double start, std::size_t index) const {
    LostBytes lost;
    lost.first = index;
    lost.count = 1;
    lost.damage = Damage::Noise;
    lost.from = start;
    lost.to = start + kTapeByteBits * detector_.bitLength();
    if (!unheard(byte))
        return lost;
    int first = 0;
    while (!byte.silent[first])
        ++first;
    int end = kTapeByteBits;
    while (!byte.silent[end - 1])
        --end;
    lost.damage = Damage::Dropout;
    lost.from = start + first * detector_.bitLength();
    lost.to = start + end * detector_.bitLength();
    return lost;
}

// Takes back the last byte read.
void BlockReader::dropLastRead(ReadBlock& block) {
    const std::size_t index = recent_.back().index;
    block.bytes.resize(index);
    block.margins.resize(index);
    while (!block.framingErrors.empty() && block.framingErrors.back() >= index) {
        block.framingErrors.pop_back();
        block.framingErrorStarts.pop_back();
    }
    while (!block.unsure.empty() && block.unsure.back() >= index) {
        block.unsure.pop_back();
        block.unsureStarts.pop_back();
    }
    while (!block.lost.empty() && block.lost.back().unseen && block.lost.back().first >= index)
        block.lost.pop_back();
    recent_.pop_back();
}

// Resumes the reading after the damage noticed at the byte at `start`, where `found` says; returns
// where the next byte starts. The bytes lost on the way are given as 0x00.
double BlockReader::resume(ReadBlock& block, double start, const Resumption& found) {
    const double byte = kTapeByteBits * found.bitLength;
    // Never back to where an earlier resumption took up the reading: each one moves on.
    const double earliest =
        std::max(recent_.empty() ? start : recent_.front().start, resumedAt_ + byte / 2);
    const double at = resumeEarlier(found.at, found.bitLength, earliest);
    resumedAt_ = at;
    // The bytes read where the resumed timing reads again.
    double from = start;
    while (!recent_.empty() && recent_.back().start > at - byte / 2) {
        from = recent_.back().start;
        dropLastRead(block);
    }
    LostBytes lost = lostBetween(block, from, at, found);
    const bool lastIsRead = !recent_.empty() && recent_.back().index + 1 == block.bytes.size();
    if (lost.damage != Damage::Dropout && lastIsRead) {
        // The byte before noise or a jump may have framed by chance: when its bits are not clear,
        // it was damaged as well. After a jump it may be even so, as the jump may lie in it.
        if (recent_.back().unclearBits >= kUnclearBits) {
            from = recent_.back().start;
            dropLastRead(block);
            lost = lostBetween(block, from, at, found);
        } else {
            lost.doubtfulBefore = lost.damage == Damage::Jump;
        }
    }
    // A stretch that sounded is kept even when its duration makes no whole byte: a jump of whole
    // bytes, or one back behind where the reading failed, lost bytes all the same.
    if (lost.count > 0 || lost.damage != Damage::Dropout)
        keepLost(block, lost);
    detector_.setBitLength(found.bitLength);
    return at;
}

void BlockReader::readBytes(double first, ReadBlock& block) {
    auto begin = [&](double at) {
        block.start = at;
        recent_.clear();
        resumedAt_ = -1;
        tones_.reset();
        for (int i = kLearntLeadInBits; i >= 1; --i)
            tones_.learnLeadIn(detector_.correlate(at - i * detector_.bitLength()));
    };
    begin(first);
    double start = first;
    bool timed = false; // whether the tones' phases timed the last byte
    std::size_t goodBytes = 0;
    while (true) {
        // A recording that stops right after a block's last stop bit may stop a little before
        // where the reader's timing puts its end: the byte is read all the same, the samples it
        // lacks as silence.
        if (!fits(start, block.bytes.empty() ? 0 : kLastBitCut)) {
            endAtRecordingEnd(start, block);
            return;
        }
        const double bit = detector_.bitLength();
        signal_.release(static_cast<std::size_t>(std::max(0.0, start - kKeptBits * bit)));
        if (!block.bytes.empty()) {
            if (!timed) {
                start = followStartBit(start);
            } else if (block.bytes.size() % kAnchorBytes == 0) {
                const double move =
                    kAnchorGain * (alignStartBit(detector_, start, kAlignRange) - start);
                start += move;
                tones_.shift(move / bit);
            }
        }
        const ByteBits byte = measureByte(detector_, start, silence());
        block.end = start;
        BlockEnd ending = BlockEnd::Silence;
        int soundingBits = 0;
        const bool ends = endsHere(byte, ending, soundingBits);
        const ByteReading reading = tones_.read(byte);
        const bool good = !ends && framed(reading.ones) && !inBurst(byte, start);
        if (ends && ending == BlockEnd::NextTone && goodBytes < kResumingBytes) {
            // A false start bit in the lead-in, or a block right before the next lead-in.
            block.ending = ending;
            return;
        }
        if (!good) {
            const double next = start + kTapeByteBits * detector_.bitLength();
            if (gridHolds(next, kHoldingBytes)) {
                // The damage lies within this byte: a short dropout or noise that drowns it takes
                // its bits, lesser noise only its framing.
                if (unheard(byte) || inBurst(byte, start)) {
                    const LostBytes lost = lostByte(byte, start, block.bytes.size());
                    keepLost(block, lost);
                    start = next;
                    block.end = start;
                    timed = false;
                    continue;
                }
                LostBytes unseen;
                unseen.first = block.bytes.size();
                unseen.damage = Damage::Jump;
                unseen.from = start;
                unseen.to = next;
                unseen.doubtfulBefore = true;
                unseen.unseen = true;
                block.lost.push_back(unseen);
            } else {
                Resumption found;
                if (findResumption(start, found)) {
                    if (found.afterLeadIn && goodBytes < kResumingBytes) {
                        // What came before was in the lead-in: the search for the first start
                        // bit goes on along the tone.
                        block.ending = BlockEnd::NextTone;
                        block.end = found.leadIn;
                        return;
                    }
                    if (!found.afterLeadIn) {
                        start = resume(block, start, found);
                        block.end = start;
                        timed = false;
                        continue;
                    }
                }
                if (ends) {
                    block.ending = ending;
                    block.stopsAt = start + soundingBits * detector_.bitLength();
                    return;
                }
                // No way on: the byte is kept as it was read.
            }
        }
        keepByte(reading, start, block);
        recent_.push_back({block.bytes.size() - 1, start, unclearBits(byte)});
        if (recent_.size() > kRecentBytes)
            recent_.erase(recent_.begin());
        if (good) {
            tones_.learn(byte, reading);
            ++goodBytes;
            block.goodBytes = goodBytes;
        }
        level_ += kLevelFollow * (byte.soundingEnergy - level_);
        const bool timedNow = reading.timed && framed(reading.ones);
        if (timedNow) {
            // The timing from the byte's phases: its offset at the next start bit.
            const double length = detector_.bitLength();
            const double late = reading.offset + reading.drift * kTapeByteBits;
            setBitLength(length * (1 + kTimedDriftGain * reading.drift) +
                         kTimedLengthGain * late * length / kTapeByteBits);
            start += kTapeByteBits * length + kTimedOffsetGain * late * length;
        } else {
            setBitLength(detector_.bitLength() * (1 + kDriftGain * phaseDrift(byte)));
            start += kTapeByteBits * detector_.bitLength();
        }
        timed = timedNow;
        block.end = start;
    }
}
