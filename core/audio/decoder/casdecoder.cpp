#include "core/audio/decoder/casdecoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/audio/decoder/bytepredicates.h"
#include "core/audio/encoder/tapebyte.h"

#include "core/tape/casblocks.h"
#include "core/tape/tapefiles.h"

namespace {

// The block as read, whose bytes and margins it takes over.
DecodedBlock describe(ReadBlock& read, double sampleRate) {
    DecodedBlock block;
    block.seconds = read.start / sampleRate;
    block.endSeconds = read.end / sampleRate;
    block.stopSeconds = read.stopsAt / sampleRate;
    block.baud = read.baud;
    block.speed = read.speed;
    block.bytes = std::move(read.bytes);
    block.margins = std::move(read.margins);
    block.framingErrors = read.framingErrors;
    for (double start : read.framingErrorStarts)
        block.framingErrorSeconds.push_back(start / sampleRate);
    for (std::size_t k = 0; k < read.unsure.size(); ++k)
        block.unsure.push_back(
            {read.unsure[k], 1, read.unsureStarts[k] / sampleRate, Doubt::Faint});
    for (const LostBytes& lost : read.lost) {
        LostStretch stretch;
        stretch.first = lost.first;
        stretch.count = lost.count;
        stretch.damage = lost.damage;
        stretch.seconds = lost.from / sampleRate;
        stretch.endSeconds = lost.to / sampleRate;
        stretch.doubtfulBefore = lost.doubtfulBefore;
        stretch.unseen = lost.unseen;
        block.lost.push_back(stretch);
    }
    block.ending = read.ending;
    return block;
}

// The length the file header before it announces for the last of `blocks`, whose lost bytes
// (given as 0x00) are taken for unknown, as are the bytes read by a narrow margin or that did not
// frame: noise that turned one bit of an address would otherwise announce kilobytes the block
// never held, and share them out among its damaged stretches. The length counts only if it is the
// same whatever those bytes were (tried as 0x00 and as 0xFF), as when they lie among the bytes it
// is read from.
std::size_t announcedLength(const std::vector<DecodedBlock>& before, const DecodedBlock& block) {
    std::vector<BlockBytes> spans;
    for (const DecodedBlock& earlier : before)
        spans.push_back({earlier.bytes.data(), earlier.bytes.size()});
    std::vector<std::uint8_t> zeros = block.bytes, ones = block.bytes;
    auto unknown = [&](std::size_t first, std::size_t count) {
        std::fill_n(zeros.begin() + static_cast<std::ptrdiff_t>(first), count, 0x00);
        std::fill_n(ones.begin() + static_cast<std::ptrdiff_t>(first), count, 0xFF);
    };
    for (const LostStretch& lost : block.lost)
        unknown(lost.first, lost.count);
    for (const UnsureBytes& unsure : block.unsure)
        unknown(unsure.first, unsure.count);
    for (const std::size_t error : block.framingErrors)
        unknown(error, 1);
    spans.push_back({zeros.data(), zeros.size()});
    const std::size_t asZeros = announcedSize(spans);
    spans.back() = {ones.data(), ones.size()};
    return announcedSize(spans) == asZeros ? asZeros : 0;
}

// Gives the `missing` bytes the block lacks to its stretches that lost time (jumps) or, where none
// seems to, that sounded, as 0x00 after each one's own; the bytes after them move on.
void giveMissing(DecodedBlock& block, std::size_t missing) {
    std::vector<std::size_t> takers;
    auto take = [&](auto takes) {
        for (std::size_t k = 0; k < block.lost.size(); ++k)
            if (takes(block.lost[k]))
                takers.push_back(k);
    };
    take([](const LostStretch& l) { return l.damage == Damage::Jump && !l.unseen; });
    if (takers.empty())
        take([](const LostStretch& l) { return l.damage == Damage::Noise; });
    // Bytes that did not frame close together are one place where the tape may have jumped (the
    // reading takes a few bytes to fall into step again): its first byte.
    constexpr std::size_t kOnePlace = 8;
    if (takers.empty()) {
        std::size_t last = 0;
        for (std::size_t k = 0; k < block.lost.size(); ++k) {
            if (!block.lost[k].unseen)
                continue;
            if (takers.empty() || block.lost[k].first > last + kOnePlace)
                takers.push_back(k);
            last = block.lost[k].first;
        }
    }
    if (takers.empty())
        return;
    // The bytes missing, shared out among them: the first ones take what does not divide.
    std::vector<std::size_t> extra(block.lost.size(), 0);
    for (std::size_t j = 0; j < takers.size(); ++j) {
        extra[takers[j]] = missing / takers.size() + (j < missing % takers.size() ? 1 : 0);
        if (takers.size() > 1)
            block.lost[takers[j]].sureness = LostCount::Guessed;
    }
    // The block again with the extra bytes after each stretch's; what follows moves on.
    std::vector<std::uint8_t> bytes;
    std::vector<BitMargins> margins;
    std::vector<std::size_t> ends;
    std::size_t from = 0;
    std::size_t added = 0;
    for (std::size_t k = 0; k < block.lost.size(); ++k) {
        LostStretch& lost = block.lost[k];
        const std::size_t end = lost.first + lost.count;
        ends.push_back(end);
        bytes.insert(bytes.end(), block.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                     block.bytes.begin() + static_cast<std::ptrdiff_t>(end));
        bytes.insert(bytes.end(), extra[k], 0x00);
        if (!block.margins.empty()) {
            margins.insert(margins.end(), block.margins.begin() + static_cast<std::ptrdiff_t>(from),
                           block.margins.begin() + static_cast<std::ptrdiff_t>(end));
            margins.insert(margins.end(), extra[k], BitMargins{});
        }
        lost.first += added;
        lost.count += extra[k];
        added += extra[k];
        from = end;
    }
    bytes.insert(bytes.end(), block.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 block.bytes.end());
    block.bytes = std::move(bytes);
    if (!block.margins.empty()) {
        margins.insert(margins.end(), block.margins.begin() + static_cast<std::ptrdiff_t>(from),
                       block.margins.end());
        block.margins = std::move(margins);
    }
    auto shifted = [&](std::size_t index) {
        std::size_t shift = 0;
        for (std::size_t k = 0; k < ends.size(); ++k)
            shift += ends[k] <= index ? extra[k] : 0;
        return index + shift;
    };
    for (std::size_t& error : block.framingErrors)
        error = shifted(error);
    for (UnsureBytes& unsure : block.unsure)
        unsure.first = shifted(unsure.first);
}

} // namespace

TapeDecoder::TapeDecoder(SampleSource& signal, double sampleRate, const DecodeOptions& options)
    : sampleRate_(sampleRate), keepMargins_(options.margins), window_(signal, sampleRate),
      finder_(window_, sampleRate, options.baud), reader_(window_, sampleRate) {}

bool TapeDecoder::next() {
    LeadInTone tone;
    while (window_.reach(from_ + 1) > from_ && finder_.find(from_, tone)) {
        ReadBlock read;
        const bool gotBytes = reader_.read(tone, read);
        // Go on after the block, or after the tone that had no bytes, but never stay in place.
        const double next = std::max(read.end, tone.confirmed);
        from_ = static_cast<std::size_t>(next) + 1;
        if (gotBytes) {
            DecodedBlock block = describe(read, sampleRate_);
            if (!block.lost.empty())
                place(block);
            settleIdBytes(block);
            if (!keepMargins_) // settled by now; freed, as `= {}` would keep their room
                std::vector<BitMargins>().swap(block.margins);
            doubtFile(block);
            blocks_.push_back(std::move(block));
            return true;
        }
    }
    return false;
}

// Settles the counts of the block's lost stretches by the length its file header announces: the
// bytes the block lacks were lost where the tape jumped (time and bytes went together there), or,
// where it did not seem to, in a stretch that sounded (a jump of whole bytes looks like noise); the
// count of a dropout is sure by its duration.
void TapeDecoder::place(DecodedBlock& block) const {
    const std::size_t announced = announcedLength(blocks_, block);
    for (LostStretch& lost : block.lost)
        lost.sureness = announced > 0                 ? LostCount::Sure
                        : lost.damage == Damage::Jump ? LostCount::AtLeast
                                                      : LostCount::Estimated;
    if (announced > block.bytes.size())
        giveMissing(block, announced - block.bytes.size());
    // A stretch that lost no byte after all: noise that left the reading in step, or a jump whose
    // bytes, if it took any, no header tells. The byte before such a jump is named as unsure.
    std::vector<LostStretch> kept;
    for (const LostStretch& lost : block.lost) {
        if (lost.count > 0)
            kept.push_back(lost);
        else if (lost.damage == Damage::Jump && !lost.unseen && lost.first > 0)
            block.unsure.push_back({lost.first - 1, 1, lost.seconds, Doubt::Jump});
    }
    block.lost = std::move(kept);
}

// Names the bytes of a file header or a binary file's addresses that do not hold together as a
// file's do (core/tape/tapefiles.h): a wrong byte there would otherwise pass for another kind of
// block, another name or another length without a word. Bytes already named as lost are left out.
void TapeDecoder::doubtFile(DecodedBlock& block) const {
    auto lost = [&](std::size_t index) {
        for (const LostStretch& stretch : block.lost)
            if (index >= stretch.first && index < stretch.first + stretch.count)
                return true;
        return false;
    };
    const double byteSeconds = kTapeByteBits / (block.baud * block.speed);
    auto doubt = [&](std::size_t first, std::size_t count, Doubt why) {
        block.unsure.push_back({first, count, block.seconds + first * byteSeconds, why});
    };
    for (const std::size_t index : strayIdBytes(block.bytes.data(), block.bytes.size()))
        if (!lost(index))
            doubt(index, 1, Doubt::IdBytes);
    for (const std::size_t index : unprintableNameBytes(block.bytes.data(), block.bytes.size()))
        if (!lost(index))
            doubt(index, 1, Doubt::Name);
    // A binary file's data block may hold more than its addresses announce: the game's own tape
    // keeps its levels past the bytes its loader takes. So a longer block says nothing of the
    // addresses, and a shorter one is already a block ending early.
    std::sort(block.unsure.begin(), block.unsure.end(),
              [](const UnsureBytes& a, const UnsureBytes& b) { return a.first < b.first; });
}

void settleIdBytes(DecodedBlock& block) {
    if (!fileHeaderSized(block.bytes.size()) || block.margins.size() != block.bytes.size())
        return;
    // What holds each id byte in doubt: nothing, its bits alone (faint, or misframed), or more
    // (damage, takes that clash).
    enum class Held { Sure, ByItsBits, Otherwise };
    std::array<Held, kFileIdSize> held{};
    auto doubt = [&](std::size_t first, std::size_t count, Held why) {
        for (std::size_t j = first; j < first + count && j < kFileIdSize; ++j)
            held[j] = std::max(held[j], why);
    };
    const auto faintByte = [](const UnsureBytes& unsure) {
        return unsure.count == 1 && unsure.doubt == Doubt::Faint;
    };
    for (const UnsureBytes& unsure : block.unsure)
        doubt(unsure.first, unsure.count, faintByte(unsure) ? Held::ByItsBits : Held::Otherwise);
    for (const std::size_t j : block.framingErrors)
        doubt(j, 1, Held::ByItsBits);
    for (const LostStretch& lost : block.lost)
        doubt(lost.first, lost.count, Held::Otherwise);
    for (const std::uint8_t id : kFileIds) {
        BitMargins together{};
        std::size_t sure = 0;
        for (std::size_t j = 0; j < kFileIdSize; ++j) {
            if (block.bytes[j] != id || held[j] != Held::Sure)
                continue;
            ++sure;
            for (int i = 0; i < kTapeByteBits; ++i)
                together[i] += block.margins[j][i];
        }
        if (sure < kMostIdBytes)
            continue;
        for (float& margin : together)
            margin /= static_cast<float>(sure);
        for (std::size_t j = 0; j < kFileIdSize; ++j) {
            if (held[j] != Held::ByItsBits)
                continue;
            bool faint = true;
            for (int i = 0; i < kTapeByteBits; ++i) {
                const float margin = block.margins[j][i];
                faint = faint &&
                        ((margin > 0) == tapeByteBit(id, i) || std::fabs(margin) < kSureMargin);
            }
            if (!faint)
                continue;
            block.bytes[j] = id;
            block.margins[j] = together;
            block.unsure.erase(
                std::remove_if(block.unsure.begin(), block.unsure.end(),
                               [j](const UnsureBytes& unsure) { return unsure.first == j; }),
                block.unsure.end());
            const auto error = std::find(block.framingErrors.begin(), block.framingErrors.end(), j);
            if (error != block.framingErrors.end()) {
                block.framingErrorSeconds.erase(block.framingErrorSeconds.begin() +
                                                (error - block.framingErrors.begin()));
                block.framingErrors.erase(error);
            }
        }
        return;
    }
}

std::vector<DecodedBlock> decodeTape(SampleSource& signal, double sampleRate,
                                     const DecodeOptions& options) {
    TapeDecoder decoder(signal, sampleRate, options);
    while (decoder.next()) {
    }
    return decoder.blocks();
}

std::vector<DecodedBlock> decodeTape(const std::vector<float>& signal, double sampleRate,
                                     const DecodeOptions& options) {
    VectorSource source(signal);
    return decodeTape(source, sampleRate, options);
}

std::vector<std::uint8_t> tapeImage(const std::vector<DecodedBlock>& blocks) {
    std::vector<std::uint8_t> image;
    for (const DecodedBlock& block : blocks) {
        image.resize((image.size() + kBlockMarkerSize - 1) / kBlockMarkerSize * kBlockMarkerSize,
                     0x00);
        image.insert(image.end(), kBlockMarker.begin(), kBlockMarker.end());
        image.insert(image.end(), block.bytes.begin(), block.bytes.end());
    }
    return image;
}
