// Reading on after damage inside a block: where the reading can resume, what the damaged stretch
// held, and the bytes lost in it given as 0x00.
#include <algorithm>
#include <cmath>

#include "core/audio/decoder/bittiming.h"
#include "core/audio/decoder/blockreaderparts.h"
#include "core/audio/decoder/bytepredicates.h"

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
    while (!early_.empty() && early_.back().index >= index)
        early_.pop_back();
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
