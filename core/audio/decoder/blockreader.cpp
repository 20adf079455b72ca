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
        dropLeadInByte(block);
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

// Noise or a click in the lead-in may look like the turn to a first start bit a byte before the
// true one, and the timing then finds the true one at the next byte: the block's first byte, whose
// bits after its "start bit" all sounded the high tone, did not frame: it was the lead-in's.
void BlockReader::dropLeadInByte(ReadBlock& block) const {
    if (!leadInFirst_ || block.bytes.size() < 2 || block.framingErrors.empty() ||
        block.framingErrors.front() != 0 || (!block.lost.empty() && block.lost.front().first == 0))
        return;
    block.start += (block.end - block.start) / static_cast<double>(block.bytes.size());
    block.bytes.erase(block.bytes.begin());
    block.margins.erase(block.margins.begin());
    block.framingErrors.erase(block.framingErrors.begin());
    block.framingErrorStarts.erase(block.framingErrorStarts.begin());
    for (std::size_t& index : block.framingErrors)
        --index;
    for (std::size_t& index : block.unsure)
        --index;
    for (LostBytes& lost : block.lost)
        --lost.first;
}

// Whether the bytes read from up to kStepReach bits before or after `first`, in half bits, frame
// where those from `first` mostly did not; `better` is then where they start.
bool BlockReader::inStepNearby(double first, double bitLength, double& better) const {
    BitDetector probe = detector_;
    probe.setBitLength(bitLength);
    auto framing = [&](double at) {
        int framedBytes = 0;
        for (std::size_t n = 0; n < kStepBytes; ++n)
            framedBytes +=
                framedByEnergy(measureByte(probe, at + n * kTapeByteBits * bitLength, silence()))
                    ? 1
                    : 0;
        return framedBytes;
    };
    int best = framing(first) + kStepMargin;
    // From the nearest outwards: of places where as many bytes frame, the nearer one.
    for (int step = 1; step <= 2 * kStepReach; ++step)
        for (const int side : {-1, 1}) {
            const double at = first + side * 0.5 * step * bitLength;
            if (at - bitLength < static_cast<double>(signal_.first()))
                continue;
            const int framedBytes = framing(at);
            if (framedBytes >= best) {
                best = framedBytes + 1;
                better = at;
            }
        }
    return better != first;
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
        settling_ = kSettleBytes;
        stretch_ = 0;
        leadInFirst_ = false;
        for (int i = kLearntLeadInBits; i >= 1; --i)
            tones_.learnLeadIn(detector_.correlate(at - i * detector_.bitLength()));
    };
    begin(first);
    const double firstBit = detector_.bitLength();
    double start = first;
    bool timed = false; // whether the tones' phases timed the last byte
    std::size_t goodBytes = 0;
    bool stepChecked = false;
    while (true) {
        // Noise or a click at the end of the lead-in may hide the first start bit, or feign one,
        // so that the reading begins a few bits off: then the first bytes mostly fail to frame, or
        // the reading finds its way only after losing the first of them as damage. The reading
        // begins again where they frame.
        if (!stepChecked && block.bytes.size() >= kStepBytes) {
            stepChecked = true;
            const bool lostAtFirst = !block.lost.empty() && block.lost.front().first == 0 &&
                                     block.lost.front().damage != Damage::Dropout;
            const bool misframed =
                block.lost.empty() && block.framingErrors.size() >= kOutOfStepStart;
            double better = first;
            if ((lostAtFirst || misframed) && inStepNearby(first, firstBit, better)) {
                const int baud = block.baud;
                const double speed = block.speed;
                block = ReadBlock{};
                block.baud = baud;
                block.speed = speed;
                detector_.setBitLength(firstBit);
                first = start = better;
                begin(first);
                timed = false;
                goodBytes = 0;
            }
        }
        // A recording that stops right after a block's last stop bit may stop a little before
        // where the reader's timing puts its end: the byte is read all the same, the samples it
        // lacks as silence.
        if (!fits(start, block.bytes.empty() ? 0 : kLastBitCut)) {
            endAtRecordingEnd(start, block);
            return;
        }
        const double bit = detector_.bitLength();
        // The early bytes are measured again once the references are learnt: their samples stay.
        const double kept = gathering_ && !early_.empty() ? early_.front().start - bit : start;
        signal_.release(
            static_cast<std::size_t>(std::max(0.0, std::min(kept, start - kKeptBits * bit))));
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
                    ++stretch_;
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
                        ++stretch_;
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
        // Where the references stay untrusted long (a block mostly noise), the early bytes are
        // read again after so many, so that the samples kept for them stay few.
        if (gathering_ && early_.size() >= kMostEarlyBytes)
            readEarlyAgain(block);
        if (gathering_)
            early_.push_back({block.bytes.size() - 1, stretch_, start, detector_.bitLength(),
                              block.bytes.back(), byte});
        recent_.push_back({block.bytes.size() - 1, start, unclearBits(byte)});
        if (recent_.size() > kRecentBytes)
            recent_.erase(recent_.begin());
        if (good) {
            tones_.learn(byte, reading);
            if (gathering_ && tones_.trusted() && --settling_ <= 0)
                readEarlyAgain(block);
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

// Where the early byte `k` lies, and its bit length, from where the references place the bytes
// around it: each byte's own place strays with the noise (and is anywhere for a byte that was not
// the block's, as a click before it), the tape's speed does not change from byte to byte. False
// where too few bytes around it tell, or they do not lie in a line, as where the reading slipped.
bool BlockReader::retimedPlace(std::size_t k, const std::vector<double>& places, double& at,
                               double& bitLength) const {
    const EarlyByte& early = early_[k];
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t j = 0; j < early_.size(); ++j) {
        const double x = static_cast<double>(early_[j].index) - static_cast<double>(early.index);
        if (j == k || places[j] < 0 || std::fabs(x) > kRetimeSpan ||
            early_[j].stretch != early.stretch)
            continue;
        const double y = places[j] - early.start;
        sw += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double spread = sxx - sx * sx / std::max(sw, 1.0);
    if (sw < kRetimeLeast || spread <= 0)
        return false;
    const double slope = (sxy - sx * sy / sw) / spread;
    const double offset = (sy - slope * sx) / sw;
    bitLength = slope / kTapeByteBits;
    if (std::fabs(bitLength / early.bitLength - 1) > kRetimeLargestDrift)
        return false;
    for (std::size_t j = 0; j < early_.size(); ++j) {
        const double x = static_cast<double>(early_[j].index) - static_cast<double>(early.index);
        if (j != k && places[j] >= 0 && std::fabs(x) <= kRetimeSpan &&
            early_[j].stretch == early.stretch &&
            std::fabs(places[j] - early.start - offset - slope * x) > kRetimeStray * bitLength)
            return false;
    }
    at = early.start + offset;
    return true;
}

// The block's first bytes were read before the references of the tones were learnt, by their
// energies, and over windows placed by a timing still settling. Once the references are learnt
// (or as the block leaves them: a file header is too short for every reference to be trusted),
// each of those bytes is measured again where the references place it, and its bits are decided
// as the rest of the block's are, so that its margins say how sure it is as the rest's do.
void BlockReader::readEarlyAgain(ReadBlock& block) {
    if (!early_.empty() && early_.front().index == 0) {
        const ByteBits& first = early_.front().bits;
        leadInFirst_ = true;
        for (int i = 1; i < kTapeByteBits; ++i)
            leadInFirst_ = leadInFirst_ && !first.silent[i] && first.bits[i].isOne();
    }
    std::vector<double> places(early_.size(), -1);
    for (std::size_t k = 0; k < early_.size(); ++k) {
        const ByteReading reading = tones_.readAfterwards(early_[k].bits);
        if (reading.timed && framed(reading.ones))
            places[k] = early_[k].start + reading.offset * early_[k].bitLength;
    }
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
    // Each byte measured again where it lies.
    BitDetector probe = detector_;
    std::vector<ByteBits> again(early_.size());
    for (std::size_t k = 0; k < early_.size(); ++k) {
        const EarlyByte& early = early_[k];
        again[k] = early.bits;
        double at = early.start, bitLength = early.bitLength;
        if (retimedPlace(k, places, at, bitLength) && at - bitLength >= signal_.first()) {
            probe.setBitLength(bitLength);
            again[k] = measureByte(probe, at, silence());
        }
    }
    bool changed = false;
    for (std::size_t k = 0; k < early_.size(); ++k) {
        const EarlyByte& early = early_[k];
        if (block.bytes[early.index] != early.value)
            continue;
        const ByteReading reading = tones_.readAfterwards(again[k]);
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
    early_.clear();
    gathering_ = false;
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
