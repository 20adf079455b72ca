#include "core/audio/decoder/takes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/audio/decoder/bytepredicates.h"
#include "core/audio/encoder/tapebyte.h"
#include "core/tape/casblocks.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapefiles.h"

namespace {

// A byte is sure when each of its bits' combined margins clears a line. The takes' margins are
// weighted to the scale of one take's, in which a clear bit lies near 1 and the noise of a take at
// the decoder's edge strays by about kEdgeNoise. A byte one take alone holds is held to the line a
// single take's bytes are (kSureMargin, bytepredicates.h). Where several hold it, their noise
// averages down, and so does the chance that noise carries a bit across the line between the
// values: the line is lowered as the combined noise's square, which keeps a wrong bit's odds of
// clearing it no better than at one take's edge, but never below kLeastSureMargin, for damage that
// is not noise.
constexpr double kEdgeNoise = 0.3;
constexpr double kLeastSureMargin = 0.1;
// Two takes that read a bit as different values, each by at least this margin, contradict each
// other: noise so strong in both is far rarer than a take whose bytes are off their places, and
// the byte is unsure whatever their sum.
constexpr float kClearlyRead = 0.8f;
// Two blocks of different takes are one block when at least this share of the data bits of their
// first kLikenessBytes bytes agree: noise at the decoder's edge leaves far more alike, and two
// different blocks agree in about half.
constexpr double kSameBlockShare = 0.75;
constexpr std::size_t kLikenessBytes = 64;
// How far from where the block's end puts them a take's bytes after a jump it counted wrong are
// looked for.
constexpr std::ptrdiff_t kFarthestPlace = 64;
// Bytes this close to a take's damage may be off their places (after a jump: the reading takes a
// few bytes to fall into step) or half damaged (beside a dropout or noise, which keep the places):
// they count only where no take holds the byte away from its damage.
constexpr std::size_t kNearDamage = 8;
constexpr std::size_t kBesideDamage = 2;
// This many framing errors among so many bytes running are a stretch read out of step: noise at
// the edge of what a take reads fails a byte's framing about once in a few hundred.
constexpr std::size_t kOutOfStepErrors = 3;
constexpr std::size_t kOutOfStepBytes = 4;
// The least noise a take's block is taken to have, so that one clean take does not outweigh the
// rest without end.
constexpr double kLeastNoise = 0.02;

using TakeBlocks = std::vector<std::vector<DecodedBlock>>;

// What each byte of a block is to the combining: held, held but near the damage, or lost.
enum class Held : std::uint8_t { Yes, NearDamage, No };

std::vector<Held> heldBytes(const DecodedBlock& block) {
    std::vector<Held> held(block.bytes.size(), Held::Yes);
    auto mark = [&](std::size_t first, std::size_t end, Held what) {
        for (std::size_t j = first; j < std::min(end, held.size()); ++j)
            if (held[j] == Held::Yes || what == Held::No)
                held[j] = what;
    };
    auto near = [&](std::size_t first, std::size_t end, std::size_t reach = kNearDamage) {
        mark(first > reach ? first - reach : 0, end + reach, Held::NearDamage);
    };
    for (const LostStretch& lost : block.lost)
        near(lost.first, lost.first + lost.count,
             lost.damage == Damage::Jump || lost.unseen ? kNearDamage : kBesideDamage);
    for (const UnsureBytes& unsure : block.unsure)
        if (unsure.doubt == Doubt::Jump)
            near(unsure.first, unsure.first + unsure.count);
    // Bytes that mostly fail to frame were read out of step (a reading that began a bit off its
    // place at the block's start, or fell out of step in noise): those between that framed did so
    // by chance.
    const std::vector<std::size_t>& framing = block.framingErrors;
    for (std::size_t f = 0; f + kOutOfStepErrors <= framing.size(); ++f)
        if (framing[f + kOutOfStepErrors - 1] - framing[f] < kOutOfStepBytes)
            near(framing[f], framing[f + kOutOfStepErrors - 1] + 1);
    // The bytes between jumps whose share of the lost bytes is a guess have guessed places.
    std::size_t guessedFrom = held.size(), guessedTo = 0;
    for (const LostStretch& lost : block.lost)
        if (lost.sureness == LostCount::Guessed) {
            guessedFrom = std::min(guessedFrom, lost.first);
            guessedTo = std::max(guessedTo, lost.first + lost.count);
        }
    if (guessedFrom < guessedTo)
        near(guessedFrom, guessedTo);
    for (const LostStretch& lost : block.lost)
        mark(lost.first, lost.first + lost.count, Held::No);
    // A block read before its bits' margins were kept holds none: it has nothing to give.
    if (block.margins.size() != block.bytes.size())
        std::fill(held.begin(), held.end(), Held::No);
    return held;
}

// The deviation of the block's bits' margins from a clear bit's 1, over the bytes it holds.
double noiseOf(const DecodedBlock& block, const std::vector<Held>& held) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t j = 0; j < held.size(); ++j) {
        if (held[j] != Held::Yes)
            continue;
        for (const float margin : block.margins[j]) {
            const double off = std::fabs(margin) - 1;
            sum += off * off;
            ++count;
        }
    }
    return std::max(kLeastNoise, count > 0 ? std::sqrt(sum / count) : 1.0);
}

// The data bits two readings of a byte agree in: bits rather than bytes, as noise turns a bit or
// two of a byte.
std::size_t agreeingBits(std::uint8_t a, std::uint8_t b) {
    std::size_t differing = 0;
    for (unsigned bits = static_cast<unsigned>(a ^ b); bits != 0; bits &= bits - 1)
        ++differing;
    return kTapeByteDataBits - differing;
}

// How alike two takes' blocks are: the data bits that agree among the first kLikenessBytes bytes
// both hold, plus one, or 0 when they are not the same block. Bits rather than bytes, as noise
// turns a bit or two of a byte; the first bytes only, as damage may put a take's later bytes off
// their places. Where the first bytes do not agree (one take lost or misplaced them), the last ones
// are compared, counted from the blocks' ends: the end of a block is where it is in every take.
std::size_t likeness(const DecodedBlock& a, const std::vector<Held>& heldA, const DecodedBlock& b,
                     const std::vector<Held>& heldB) {
    if (a.baud != b.baud)
        return 0;
    const std::size_t both = std::min(a.bytes.size(), b.bytes.size());
    auto alike = [&](bool fromEnd) -> std::size_t {
        std::size_t compared = 0, agreeing = 0;
        for (std::size_t n = 0; n < both; ++n) {
            const std::size_t i = fromEnd ? a.bytes.size() - 1 - n : n;
            const std::size_t j = fromEnd ? b.bytes.size() - 1 - n : n;
            if (heldA[i] == Held::No || heldB[j] == Held::No)
                continue;
            compared += kTapeByteDataBits;
            agreeing += agreeingBits(a.bytes[i], b.bytes[j]);
            if (compared >= kLikenessBytes * kTapeByteDataBits)
                break;
        }
        if (compared == 0 || static_cast<double>(agreeing) < kSameBlockShare * compared)
            return 0;
        return agreeing + 1;
    };
    const std::size_t fromStart = alike(false);
    return fromStart > 0 || both < kLikenessBytes ? fromStart : alike(true);
}

struct Member {
    std::size_t take;
    std::size_t block;
};
using Group = std::vector<Member>;

// The blocks of all takes in groups, one for each block of the tape, in the tape's order: each
// take's blocks are matched to the groups so far in order, so that the most bytes agree.
std::vector<Group> matchBlocks(const TakeBlocks& takes,
                               const std::vector<std::vector<std::vector<Held>>>& held) {
    std::vector<Group> groups;
    for (std::size_t t = 0; t < takes.size(); ++t) {
        const std::vector<DecodedBlock>& blocks = takes[t];
        const std::size_t n = groups.size(), m = blocks.size();
        std::vector<std::vector<std::size_t>> like(n, std::vector<std::size_t>(m, 0));
        for (std::size_t i = 0; i < n; ++i) {
            const Member first = groups[i].front();
            for (std::size_t j = 0; j < m; ++j)
                like[i][j] = likeness(takes[first.take][first.block], held[first.take][first.block],
                                      blocks[j], held[t][j]);
        }
        // The matching of the most agreeing bytes that keeps both orders.
        std::vector<std::vector<std::size_t>> best(n + 1, std::vector<std::size_t>(m + 1, 0));
        for (std::size_t i = 1; i <= n; ++i)
            for (std::size_t j = 1; j <= m; ++j) {
                best[i][j] = std::max(best[i - 1][j], best[i][j - 1]);
                if (like[i - 1][j - 1] > 0)
                    best[i][j] = std::max(best[i][j], best[i - 1][j - 1] + like[i - 1][j - 1]);
            }
        std::vector<Group> merged;
        std::size_t i = n, j = m;
        while (i > 0 || j > 0) {
            if (i > 0 && j > 0 && like[i - 1][j - 1] > 0 &&
                best[i][j] == best[i - 1][j - 1] + like[i - 1][j - 1]) {
                merged.push_back(groups[i - 1]);
                merged.back().push_back({t, j - 1});
                --i;
                --j;
            } else if (i > 0 && (j == 0 || best[i][j] == best[i - 1][j])) {
                merged.push_back(groups[i - 1]);
                --i;
            } else {
                merged.push_back({{t, j - 1}});
                --j;
            }
        }
        std::reverse(merged.begin(), merged.end());
        groups = std::move(merged);
    }
    return groups;
}

// The block's length as a take heard it, but for bytes at its end that did not frame: a take
// may read on for a byte into the noise after the signal stops.
std::size_t heardLength(const DecodedBlock& block) {
    std::size_t length = block.bytes.size();
    const std::vector<std::size_t>& framing = block.framingErrors;
    for (auto error = framing.rbegin(); error != framing.rend() && *error + 1 == length; ++error)
        --length;
    return length;
}

// The block's length: the longest that more than half of the takes give it at least, counting only
// those whose block ends as a block ends and holds no damage where there are any. A take that read
// a byte of noise after the block does not lengthen it, nor does a take cut short shorten it.
std::size_t commonLength(const TakeBlocks& takes, const Group& group) {
    auto blockOf = [&](const Member& m) -> const DecodedBlock& { return takes[m.take][m.block]; };
    std::vector<std::size_t> lengths;
    for (const int strictness : {2, 1, 0}) {
        for (const Member& member : group) {
            const DecodedBlock& block = blockOf(member);
            if ((strictness < 1 || !block.endsEarly()) && (strictness < 2 || block.lost.empty()))
                lengths.push_back(block.bytes.size());
        }
        if (!lengths.empty())
            break;
    }
    std::sort(lengths.begin(), lengths.end());
    // The longest held by more than half: the lower median.
    return lengths[(lengths.size() - 1) / 2];
}

// Where a take's bytes sit in the combined block: from group byte `from` on, at `shift` bytes
// further in the take's block.
struct Placement {
    std::size_t from = SIZE_MAX;
    std::ptrdiff_t shift = 0;
    // The take's byte for the group's byte `j`, or SIZE_MAX where it has none.
    std::size_t index(std::size_t j, std::size_t size) const {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(j) + (j >= from ? shift : 0);
        return at >= 0 && static_cast<std::size_t>(at) < size ? static_cast<std::size_t>(at)
                                                              : SIZE_MAX;
    }
};

// Data bits of the take's bytes from its byte `first` on, against the group's from byte `at`, that
// agree with the bytes the other takes hold there, and how many were compared.
std::pair<std::size_t, std::size_t>
agreement(const TakeBlocks& takes, const std::vector<std::vector<std::vector<Held>>>& held,
          const Group& group, std::size_t k, std::size_t first, std::size_t at) {
    const DecodedBlock& block = takes[group[k].take][group[k].block];
    std::size_t compared = 0, agreeing = 0;
    for (std::size_t n = 0; first + n < block.bytes.size(); ++n)
        for (std::size_t o = 0; o < group.size(); ++o) {
            const DecodedBlock& other = takes[group[o].take][group[o].block];
            const std::vector<Held>& h = held[group[o].take][group[o].block];
            if (o == k || at + n >= h.size() || h[at + n] != Held::Yes)
                continue;
            compared += kTapeByteDataBits;
            agreeing += agreeingBits(block.bytes[first + n], other.bytes[at + n]);
        }
    return {agreeing, compared};
}

// A take whose damaged block is not as long as the others' counted its lost bytes wrong (by its own
// misread file header, or by their durations): the bytes after its first damage are not at their
// places. The bytes after its last damage go where they agree with what the other takes hold,
// found near where the block's end would put them: every one of them, not only the first few, as
// a stretch of like bytes agrees at any place. It gives none of the rest, nor any where no place
// agrees.
Placement placeMisplaced(const TakeBlocks& takes, std::vector<std::vector<std::vector<Held>>>& held,
                         const Group& group, std::size_t k, std::size_t length) {
    const DecodedBlock& block = takes[group[k].take][group[k].block];
    std::vector<Held>& h = held[group[k].take][group[k].block];
    const std::size_t heard = heardLength(block);
    Placement placement;
    if (heard == length || block.lost.empty())
        return placement;
    const std::size_t first = block.lost.front().first;
    const std::size_t dropFrom = first > kNearDamage ? first - kNearDamage : 0;
    const LostStretch& last = block.lost.back();
    const std::size_t after = last.first + last.count + kNearDamage;
    const std::ptrdiff_t byEnd =
        static_cast<std::ptrdiff_t>(heard) - static_cast<std::ptrdiff_t>(length);
    double best = kSameBlockShare;
    for (std::ptrdiff_t off = 0; off <= 2 * kFarthestPlace && after < heard; ++off) {
        // From the end's place outwards: of places that agree as well, the nearer one.
        const std::ptrdiff_t shift = byEnd + (off % 2 == 0 ? off / 2 : -(off + 1) / 2);
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(after) - shift;
        if (at < 0 || static_cast<std::size_t>(at) >= length)
            continue;
        const auto [agreeing, compared] =
            agreement(takes, held, group, k, after, static_cast<std::size_t>(at));
        if (compared < kLikenessBytes * kTapeByteDataBits / 4 ||
            static_cast<double>(agreeing) <= best * static_cast<double>(compared))
            continue;
        best = static_cast<double>(agreeing) / static_cast<double>(compared);
        placement.from = static_cast<std::size_t>(at);
        placement.shift = shift;
    }
    const bool placed = placement.from != SIZE_MAX && !block.endsEarly();
    std::fill(h.begin() + static_cast<std::ptrdiff_t>(dropFrom),
              placed ? h.begin() + static_cast<std::ptrdiff_t>(after) : h.end(), Held::No);
    return placed ? placement : Placement{};
}

// A take that slipped out of place unnoticed (a byte gained or lost where its reading kept on
// framing) reads other values than the rest from there on. Where at least two other takes hold a
// byte and read it alike, a take that reads it otherwise clashes with them; clashes close together
// are a stretch where that take is out of place, and its bytes there count only where no other
// take holds them. Noise alone makes a take clash about once in a few hundred bytes.
void setAsideOutOfPlace(const TakeBlocks& takes, std::vector<std::vector<std::vector<Held>>>& held,
                        const Group& group, const std::vector<Placement>& placements,
                        std::size_t length) {
    auto byteOf = [&](std::size_t k, std::size_t j, std::uint8_t& value) {
        const DecodedBlock& block = takes[group[k].take][group[k].block];
        const std::vector<Held>& h = held[group[k].take][group[k].block];
        const std::size_t i = placements[k].index(j, h.size());
        if (i == SIZE_MAX || h[i] != Held::Yes)
            return false;
        value = block.bytes[i];
        return true;
    };
    for (std::size_t k = 0; k < group.size(); ++k) {
        std::vector<std::size_t> clashes;
        for (std::size_t j = 0; j < length; ++j) {
            std::uint8_t own = 0;
            if (!byteOf(k, j, own))
                continue;
            std::size_t others = 0, alike = 0;
            std::uint8_t first = 0;
            for (std::size_t o = 0; o < group.size(); ++o) {
                std::uint8_t value = 0;
                if (o == k || !byteOf(o, j, value))
                    continue;
                if (others++ == 0)
                    first = value;
                alike += value == first ? 1 : 0;
            }
            if (others >= 2 && alike == others && own != first)
                clashes.push_back(j);
        }
        std::vector<Held>& h = held[group[k].take][group[k].block];
        for (std::size_t c = 0; c + kOutOfStepErrors <= clashes.size(); ++c) {
            const std::size_t from = clashes[c], to = clashes[c + kOutOfStepErrors - 1];
            if (to - from >= 2 * kOutOfStepBytes)
                continue;
            for (std::size_t j = from > kNearDamage ? from - kNearDamage : 0;
                 j < std::min(length, to + 1 + kNearDamage); ++j) {
                const std::size_t i = placements[k].index(j, h.size());
                if (i != SIZE_MAX && h[i] == Held::Yes)
                    h[i] = Held::NearDamage;
            }
        }
    }
}

// Whether the take named its byte `j` as in doubt for its damage: the byte before a jump, or one
// whose framing failed, which only the margins of the other takes could have set right.
bool doubtedByTake(const DecodedBlock& block, std::size_t j) {
    for (const LostStretch& lost : block.lost)
        if (lost.doubtfulBefore && lost.first == j + 1)
            return true;
    for (const UnsureBytes& unsure : block.unsure)
        if (unsure.doubt == Doubt::Jump && j >= unsure.first && j < unsure.first + unsure.count)
            return true;
    return std::find(block.framingErrors.begin(), block.framingErrors.end(), j) !=
           block.framingErrors.end();
}

void addPartial(std::vector<PartialBytes>& partial, std::size_t byte,
                const std::vector<std::size_t>& takes) {
    if (!partial.empty()) {
        PartialBytes& last = partial.back();
        if (last.first + last.count == byte && last.takes == takes) {
            ++last.count;
            return;
        }
    }
    partial.push_back({byte, 1, takes});
}

void combineGroup(const TakeBlocks& takes, std::vector<std::vector<std::vector<Held>>>& held,
                  const Group& group, DecodedBlock& out, TakesOfBlock& sources) {
    const std::size_t length = commonLength(takes, group);
    std::vector<Placement> placements;
    for (std::size_t k = 0; k < group.size(); ++k)
        placements.push_back(placeMisplaced(takes, held, group, k, length));
    setAsideOutOfPlace(takes, held, group, placements, length);
    // The block whose times and ending stand for the group's: the first of the common length
    // that ends as a block ends, else the first of that length.
    const DecodedBlock* model = nullptr;
    for (const Member& member : group) {
        const DecodedBlock& block = takes[member.take][member.block];
        if (block.bytes.size() == length && (!model || (model->endsEarly() && !block.endsEarly())))
            model = &block;
    }
    if (!model) // every take of that length was damaged, and another length is more common
        model = &takes[group.front().take][group.front().block];
    std::vector<double> weights;
    for (const Member& member : group) {
        const DecodedBlock& block = takes[member.take][member.block];
        const double noise = noiseOf(block, held[member.take][member.block]);
        weights.push_back(1 / (noise * noise));
        sources.holders.push_back({member.take, member.block, block.seconds, noise});
    }
    out.seconds = model->seconds;
    out.endSeconds = model->endSeconds;
    out.stopSeconds = model->stopSeconds;
    out.baud = model->baud;
    out.speed = model->speed;
    out.ending = model->ending;
    const double byteSeconds =
        model->bytes.empty() ? 0 : (model->endSeconds - model->seconds) / model->bytes.size();
    auto at = [&](std::size_t byte) { return out.seconds + byte * byteSeconds; };
    std::vector<std::size_t> use, near;
    for (std::size_t j = 0; j < length; ++j) {
        use.clear();
        near.clear();
        for (std::size_t k = 0; k < group.size(); ++k) {
            const std::vector<Held>& h = held[group[k].take][group[k].block];
            const std::size_t i = placements[k].index(j, h.size());
            if (i != SIZE_MAX && h[i] != Held::No)
                (h[i] == Held::Yes ? use : near).push_back(k);
        }
        // Only takes near their damage hold the byte: what they doubted stays in doubt.
        bool doubted = false;
        if (use.empty()) {
            use = near;
            for (const std::size_t k : near)
                doubted = doubted || doubtedByTake(takes[group[k].take][group[k].block],
                                                   placements[k].index(j, SIZE_MAX));
        }
        if (use.empty()) {
            out.bytes.push_back(0x00);
            out.margins.push_back(BitMargins{});
            const DecodedBlock* lostIn = model;
            for (const Member& member : group)
                if (j < takes[member.take][member.block].bytes.size()) {
                    lostIn = &takes[member.take][member.block];
                    break;
                }
            LostStretch stretch;
            for (const LostStretch& lost : lostIn->lost)
                if (j >= lost.first && j < lost.first + lost.count)
                    stretch = lost;
            if (!out.lost.empty() && out.lost.back().first + out.lost.back().count == j) {
                ++out.lost.back().count;
                out.lost.back().endSeconds = at(j + 1);
            } else {
                stretch.first = j;
                stretch.count = 1;
                stretch.seconds = at(j);
                stretch.endSeconds = at(j + 1);
                stretch.doubtfulBefore = false;
                stretch.unseen = false;
                out.lost.push_back(stretch);
            }
            continue;
        }
        BitMargins combined{}, clearOne{}, clearZero{};
        double weight = 0;
        for (const std::size_t k : use) {
            const DecodedBlock& block = takes[group[k].take][group[k].block];
            const BitMargins& margins = block.margins[placements[k].index(j, SIZE_MAX)];
            for (int i = 0; i < kTapeByteBits; ++i) {
                combined[i] += static_cast<float>(weights[k] * margins[i]);
                clearOne[i] = std::max(clearOne[i], margins[i]);
                clearZero[i] = std::max(clearZero[i], -margins[i]);
            }
            weight += weights[k];
        }
        bool contradict = false;
        for (int i = 0; i < kTapeByteBits; ++i)
            contradict = contradict || std::min(clearOne[i], clearZero[i]) >= kClearlyRead;
        const double noise = 1 / std::sqrt(weight);
        const double line =
            use.size() == 1 ? kSureMargin
                            : std::clamp(kSureMargin * noise * noise / (kEdgeNoise * kEdgeNoise),
                                         kLeastSureMargin, static_cast<double>(kSureMargin));
        bool ones[kTapeByteBits];
        float weakest = 1e9f;
        for (int i = 0; i < kTapeByteBits; ++i) {
            combined[i] = static_cast<float>(combined[i] / weight);
            ones[i] = combined[i] > 0;
            weakest = std::min(weakest, std::fabs(combined[i]));
        }
        const std::uint8_t value = dataByte(ones);
        out.bytes.push_back(value);
        out.margins.push_back(combined);
        if (!framed(ones)) {
            out.framingErrors.push_back(j);
            out.framingErrorSeconds.push_back(at(j));
        } else if (contradict) {
            out.unsure.push_back({j, 1, at(j), Doubt::Takes});
        } else if (doubted) {
            out.unsure.push_back({j, 1, at(j), Doubt::Beside});
        } else if (weakest < line) {
            out.unsure.push_back({j, 1, at(j), Doubt::Faint});
        }
        std::vector<std::size_t> from;
        Disagreement disagreement{j, {}, {}, value, weakest};
        bool differ = false;
        for (const std::size_t k : use) {
            const DecodedBlock& block = takes[group[k].take][group[k].block];
            const std::uint8_t read = block.bytes[placements[k].index(j, SIZE_MAX)];
            from.push_back(group[k].take);
            disagreement.takes.push_back(group[k].take);
            disagreement.values.push_back(read);
            differ = differ || read != value;
        }
        if (use.size() < group.size())
            addPartial(sources.partial, j, from);
        if (differ)
            sources.disagreements.push_back(std::move(disagreement));
    }
    // A take may read on for a byte or two into the noise after the signal stops. Where the
    // combined last byte does not frame, and a take heard the block end, as a block ends, right
    // before it, it is that noise and not the block's; likewise a byte that does not frame or is
    // only unsure past the 16 bytes a file header always has.
    const bool fileHeader =
        tapeBlockKind(out.bytes.data(), out.bytes.size()) != TapeBlockKind::Data;
    const std::size_t headerSize = kFileIdSize + kTapeFileNameSize;
    while (!out.bytes.empty()) {
        const std::size_t last = out.bytes.size() - 1;
        const bool endedBefore = std::any_of(group.begin(), group.end(), [&](const Member& member) {
            const DecodedBlock& block = takes[member.take][member.block];
            return !block.endsEarly() && block.bytes.size() == last;
        });
        const bool misframed = !out.framingErrors.empty() && out.framingErrors.back() == last;
        const bool unsure = !out.unsure.empty() && out.unsure.back().first == last;
        const bool pastHeader = fileHeader && last >= headerSize && (misframed || unsure);
        if (!pastHeader && !(endedBefore && misframed))
            break;
        out.bytes.pop_back();
        out.margins.pop_back();
        if (misframed) {
            out.framingErrors.pop_back();
            out.framingErrorSeconds.pop_back();
        } else {
            out.unsure.pop_back();
        }
        out.endSeconds = at(last);
        if (!sources.partial.empty() &&
            sources.partial.back().first + sources.partial.back().count > last &&
            --sources.partial.back().count == 0)
            sources.partial.pop_back();
        if (!sources.disagreements.empty() && sources.disagreements.back().byte == last)
            sources.disagreements.pop_back();
        ++sources.noiseAfter;
    }
    // The file's header bytes, as a single take's are (casdecoder.cpp), now that they are combined.
    auto lost = [&](std::size_t byte) {
        for (const LostStretch& stretch : out.lost)
            if (byte >= stretch.first && byte < stretch.first + stretch.count)
                return true;
        return false;
    };
    settleIdBytes(out);
    for (const std::size_t j : strayIdBytes(out.bytes.data(), out.bytes.size()))
        if (!lost(j))
            out.unsure.push_back({j, 1, at(j), Doubt::IdBytes});
    for (const std::size_t j : unprintableNameBytes(out.bytes.data(), out.bytes.size()))
        if (!lost(j))
            out.unsure.push_back({j, 1, at(j), Doubt::Name});
    std::stable_sort(out.unsure.begin(), out.unsure.end(),
                     [](const UnsureBytes& a, const UnsureBytes& b) { return a.first < b.first; });
}

// Whether every block of the group mostly failed to frame: read at the wrong rate (noise in its
// lead-in tone misheard as the other rate's) or all out of step.
bool misread(const TakeBlocks& takes, const Group& group) {
    return std::all_of(group.begin(), group.end(), [&](const Member& m) {
        const DecodedBlock& block = takes[m.take][m.block];
        return 2 * block.framingErrors.size() >= block.bytes.size();
    });
}

// Why a group is noise that a few takes heard as a block, where the rest heard none: fewer than
// half the takes hold it, every take that lacks it holds a block after it (so it read on past that
// place), and either in each take that holds it it runs into a lead-in tone without having read
// clearly (noise in that tone), or each misheard it throughout (a take that could not follow the
// tape there). A block whose lead-in a take lost ends in silence, as blocks do, and reads clearly,
// or most takes hold it.
enum class Noise { None, InALeadIn, Misheard };
Noise noiseOfGroup(const TakeBlocks& takes, const std::vector<Group>& groups, std::size_t g) {
    const Group& group = groups[g];
    if (2 * group.size() >= takes.size())
        return Noise::None;
    for (std::size_t t = 0; t < takes.size(); ++t) {
        auto holds = [t](const Group& other) {
            return std::any_of(other.begin(), other.end(),
                               [t](const Member& m) { return m.take == t; });
        };
        if (!holds(group) &&
            std::none_of(groups.begin() + static_cast<std::ptrdiff_t>(g + 1), groups.end(), holds))
            return Noise::None;
    }
    const bool inALeadIn = std::all_of(group.begin(), group.end(), [&](const Member& member) {
        const DecodedBlock& block = takes[member.take][member.block];
        return block.ending == BlockEnd::NextTone &&
               !(block.framingErrors.empty() && block.unsure.empty() && block.lost.empty());
    });
    return inALeadIn ? Noise::InALeadIn : misread(takes, group) ? Noise::Misheard : Noise::None;
}

// Joins neighbouring groups that no take holds both of, at the same baud rate (or where one was
// misread): the takes read the same place of the tape, too differently for their bytes to match
// (noise that misread many bytes of a short header, or bytes off their places after damage).
// Where they are not the same block after all, their bits contradict each other and the bytes are
// named as unsure.
std::vector<Group> joinAtSamePlace(const TakeBlocks& takes, std::vector<Group> groups) {
    auto holds = [](const Group& group, std::size_t take) {
        return std::any_of(group.begin(), group.end(),
                           [take](const Member& m) { return m.take == take; });
    };
    for (std::size_t g = 0; g + 1 < groups.size();) {
        Group& here = groups[g];
        const Group& next = groups[g + 1];
        const bool apart = std::none_of(next.begin(), next.end(),
                                        [&](const Member& m) { return holds(here, m.take); });
        const Member a = here.front(), b = next.front();
        const bool sameRate = takes[a.take][a.block].baud == takes[b.take][b.block].baud ||
                              misread(takes, here) || misread(takes, next);
        // A file header and the data block after it are not one place, however their bytes differ.
        const std::size_t lengthA = takes[a.take][a.block].bytes.size();
        const std::size_t lengthB = takes[b.take][b.block].bytes.size();
        const bool alikeInLength =
            std::max(lengthA, lengthB) <= 2 * std::min(lengthA, lengthB) + kLikenessBytes / 4;
        if (!apart || !sameRate || !alikeInLength) {
            ++g;
            continue;
        }
        here.insert(here.end(), next.begin(), next.end());
        std::sort(here.begin(), here.end(),
                  [](const Member& x, const Member& y) { return x.take < y.take; });
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(g + 1));
    }
    return groups;
}

} // namespace

CombinedTape combineTakes(const std::vector<std::vector<DecodedBlock>>& takes) {
    std::vector<std::vector<std::vector<Held>>> held;
    for (const std::vector<DecodedBlock>& blocks : takes) {
        held.emplace_back();
        for (const DecodedBlock& block : blocks)
            held.back().push_back(heldBytes(block));
    }
    CombinedTape tape;
    tape.takes = takes.size();
    const std::vector<Group> matched = matchBlocks(takes, held);
    std::vector<Group> kept;
    for (std::size_t g = 0; g < matched.size(); ++g) {
        const Noise why = noiseOfGroup(takes, matched, g);
        if (why == Noise::None) {
            kept.push_back(matched[g]);
            continue;
        }
        LeftOut noise{kept.size(), {}, 0, why == Noise::Misheard};
        for (const Member& member : matched[g]) {
            const DecodedBlock& block = takes[member.take][member.block];
            noise.holders.push_back({member.take, member.block, block.seconds, 0});
            noise.bytes = std::max(noise.bytes, block.bytes.size());
        }
        tape.leftOut.push_back(noise);
    }
    const std::vector<Group> groups = joinAtSamePlace(takes, kept);
    // Each left out stretch came before the group that now holds the kept group after it.
    for (LeftOut& noise : tape.leftOut) {
        if (noise.before == kept.size()) {
            noise.before = groups.size();
            continue;
        }
        const Member next = kept[noise.before].front();
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (const Member& m : groups[g])
                if (m.take == next.take && m.block == next.block)
                    noise.before = g;
    }
    for (const Group& group : groups) {
        tape.blocks.emplace_back();
        tape.sources.emplace_back();
        combineGroup(takes, held, group, tape.blocks.back(), tape.sources.back());
    }
    return tape;
}
