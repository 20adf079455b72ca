#include "core/audio/decoder/blockreader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <utility>

#include "core/audio/decoder/bittiming.h"
#include "core/audio/decoder/blockreaderparts.h"
#include "core/audio/decoder/bytepredicates.h"
#include "core/audio/decoder/fullturn.h"

namespace {

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

} // namespace

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
        readEarlyAgain(block);
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

// The recording stops within the byte expected at `start`: whether the block still sounds there.
void BlockReader::endAtRecordingEnd(double start, ReadBlock& block) const {
    const double size = static_cast<double>(signal_.size());
    const bool noRoom = start + detector_.bitLength() > size;
    const bool sounding = !noRoom && detector_.measure(start).strongest() >= silence();
    block.end = start;
    block.ending = sounding || noRoom ? BlockEnd::RecordingEnds : BlockEnd::Silence;
}

void BlockReader::readBytes(double first, ReadBlock& block) {
    auto begin = [&](double at) {
        block.start = at;
        recent_.clear();
        resumedAt_ = -1;
        tones_.reset();
        early_.clear();
        gathering_ = true;
        learntKept_ = false;
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
        gathering_ = gathering_ && good && !tones_.trusted();
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
        if (gathering_)
            early_.push_back({block.bytes.size() - 1, start, block.bytes.back(), byte});
        recent_.push_back({block.bytes.size() - 1, start, unclearBits(byte)});
        if (recent_.size() > kRecentBytes)
            recent_.erase(recent_.begin());
        if (good) {
            tones_.learn(byte, reading);
            if (!learntKept_ && tones_.trusted()) {
                learnt_ = tones_;
                learntKept_ = true;
            }
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

// The block's first bytes were read before the references of the tones were learnt, by their
// energies: in a file header, which is too short for every reference to be trusted, each of them.
// Read again from the references as they were once learnt (or as the block leaves them), their
// bits are decided as the rest of the block's are, and their margins say how sure they are as the
// rest's do. Only the first stretch before any damage is read again: the bytes there are still
// those read, at their places.
void BlockReader::readEarlyAgain(ReadBlock& block) const {
    const ToneReferences& references = learntKept_ ? learnt_ : tones_;
    std::size_t end = block.bytes.size();
    if (!block.lost.empty())
        end = block.lost.front().first > kLookBackBytes ? block.lost.front().first - kLookBackBytes
                                                        : 0;
    std::vector<std::pair<std::size_t, double>> errors, unsure;
    for (std::size_t k = 0; k < block.framingErrors.size(); ++k)
        errors.push_back({block.framingErrors[k], block.framingErrorStarts[k]});
    for (std::size_t k = 0; k < block.unsure.size(); ++k)
        unsure.push_back({block.unsure[k], block.unsureStarts[k]});
    auto drop = [](std::vector<std::pair<std::size_t, double>>& list, std::size_t index) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [index](const auto& entry) { return entry.first == index; }),
                   list.end());
    };
    bool changed = false;
    for (const EarlyByte& early : early_) {
        if (early.index >= end || block.bytes[early.index] != early.value)
            continue;
        const ByteReading reading = references.readAfterwards(early.bits);
        drop(errors, early.index);
        drop(unsure, early.index);
        if (!framed(reading.ones))
            errors.push_back({early.index, early.start});
        else if (!sure(reading))
            unsure.push_back({early.index, early.start});
        block.bytes[early.index] = dataByte(reading.ones);
        BitMargins& margins = block.margins[early.index];
        for (int i = 0; i < kTapeByteBits; ++i)
            margins[i] = reading.ones[i] ? reading.margins[i] : -reading.margins[i];
        changed = true;
    }
    if (!changed)
        return;
    std::sort(errors.begin(), errors.end());
    std::sort(unsure.begin(), unsure.end());
    block.framingErrors.clear();
    block.framingErrorStarts.clear();
    for (const auto& [index, start] : errors) {
        block.framingErrors.push_back(index);
        block.framingErrorStarts.push_back(start);
    }
    block.unsure.clear();
    block.unsureStarts.clear();
    for (const auto& [index, start] : unsure) {
        block.unsure.push_back(index);
        block.unsureStarts.push_back(start);
    }
}
