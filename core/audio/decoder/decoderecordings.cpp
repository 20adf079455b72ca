#include "core/audio/decoder/decoderecordings.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/audio/decoder/decodemessages.h"
#include "core/tape/casblocks.h"
#include "core/tape/tapedirectory.h"

namespace {

// The tape signal on its way to the decoder, its envelope kept as it passes.
class EnvelopeTap : public SampleSource {
  public:
    EnvelopeTap(SampleSource& signal, double sampleRate, std::vector<float>& envelope, bool keep)
        : signal_(signal), envelope_(envelope), keep_(keep),
          stretch_(std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate / kEnvelopeRate))) {
    }
    std::size_t pull(float* out, std::size_t count) override {
        const std::size_t got = signal_.pull(out, count);
        samples_ += got;
        if (!keep_)
            return got;
        // A stretch at a time, so that the loop over its samples stays tight.
        for (std::size_t i = 0; i < got;) {
            if (filled_ == 0)
                envelope_.push_back(0);
            const std::size_t n = std::min(got - i, stretch_ - filled_);
            float peak = envelope_.back();
            for (std::size_t k = i; k < i + n; ++k)
                peak = std::max(peak, std::fabs(out[k]));
            envelope_.back() = peak;
            i += n;
            filled_ = filled_ + n == stretch_ ? 0 : filled_ + n;
        }
        return got;
    }
    std::uint64_t samples() const { return samples_; }

  private:
    SampleSource& signal_;
    std::vector<float>& envelope_;
    bool keep_;
    std::size_t stretch_;
    std::size_t filled_ = 0;
    std::uint64_t samples_ = 0;
};

void tell(const DecodeProgress& progress, const char* stage, double fraction) {
    if (progress)
        progress(stage, fraction);
}

// Decodes one take; false with `failure` set when it gives no blocks.
bool decodeTake(const RecordingInput& input, const DecodeOptions& options,
                const DecodeProgress& progress, double from, double share, DecodedTake& take,
                FileFailure& failure) {
    take.name = input.name;
    tell(progress, "reading", from);
    std::unique_ptr<RecordingStream> recording;
    const std::string problem = openRecording(*input.source, recording);
    if (!problem.empty()) {
        failure = {input.name, problem};
        return false;
    }
    take.format = recording->format();
    tell(progress, "signal", from + 0.02 * share);
    TapeSignalStream signal(*recording, input.channel);
    if (!signal.prepare()) {
        failure = {input.name, recording->failure()};
        return false;
    }
    const double rate = take.format.sampleRate;
    EnvelopeTap tap(signal, rate, take.envelope, options.envelope);
    TapeDecoder decoder(tap, rate, options);
    tell(progress, "decoding", from + 0.05 * share);
    while (decoder.next())
        tell(progress, "decoding", from + (0.05 + 0.9 * signal.progress()) * share);
    // The rest of the signal after the last block, for the recording's length and envelope.
    float rest[4096];
    while (tap.pull(rest, 4096) > 0) {
    }
    // A file found damaged on the way is refused as a whole, as one damaged at its start is.
    if (!recording->failure().empty()) {
        failure = {input.name, recording->failure()};
        return false;
    }
    take.blocks = decoder.takeBlocks();
    take.seconds = static_cast<double>(tap.samples()) / rate;
    if (take.blocks.empty()) {
        failure = {input.name, kNoTapeSignal};
        return false;
    }
    return true;
}

// The seconds one byte of the block takes, as it was read.
double byteSeconds(const DecodedBlock& block) {
    if (block.bytes.empty() || block.endSeconds <= block.seconds)
        return block.baud > 0 ? 11.0 / block.baud : 0;
    return (block.endSeconds - block.seconds) / static_cast<double>(block.bytes.size());
}

} // namespace

std::vector<UnsureBytes> unsureStretches(const DecodedBlock& block) {
    std::vector<UnsureBytes> stretches;
    for (const UnsureBytes& unsure : block.unsure) {
        if (!stretches.empty()) {
            UnsureBytes& last = stretches.back();
            if (last.doubt == unsure.doubt && last.first + last.count >= unsure.first) {
                last.count = std::max(last.count, unsure.first + unsure.count - last.first);
                continue;
            }
        }
        stretches.push_back(unsure);
    }
    return stretches;
}

bool guessedPlaces(const DecodedBlock& block, std::size_t& first, std::size_t& end) {
    const LostStretch* firstJump = nullptr;
    const LostStretch* lastJump = nullptr;
    for (const LostStretch& lost : block.lost) {
        if (lost.sureness != LostCount::Guessed)
            continue;
        if (!firstJump)
            firstJump = &lost;
        lastJump = &lost;
    }
    if (firstJump == lastJump)
        return false;
    first = firstJump->first + firstJump->count;
    end = lastJump->first;
    return true;
}

std::vector<BlockJudgement> judgeDecodedBlocks(const std::vector<DecodedBlock>& blocks) {
    std::vector<BlockBytes> spans;
    for (const DecodedBlock& block : blocks)
        spans.push_back({block.bytes.data(), block.bytes.size()});
    return judgeTapeBlocks(spans);
}

void layOutImage(DecodeResult& result) {
    const std::vector<DecodedBlock>& blocks = result.decodedBlocks();
    const bool combined = result.takes.size() > 1;
    result.image = tapeImage(blocks);
    result.blocks.clear();
    result.problems.clear();
    const std::vector<BlockJudgement> judgements = judgeDecodedBlocks(blocks);
    std::size_t offset = 0;
    std::string file;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const DecodedBlock& block = blocks[i];
        offset = (offset + kBlockMarkerSize - 1) / kBlockMarkerSize * kBlockMarkerSize +
                 kBlockMarkerSize;
        ImageBlock placed;
        if (combined && !result.combined.sources[i].holders.empty()) {
            placed.take = result.combined.sources[i].holders.front().take;
            placed.block = result.combined.sources[i].holders.front().block;
        } else {
            placed.take = 0;
            placed.block = i;
        }
        placed.offset = offset;
        placed.length = block.bytes.size();
        placed.start = block.seconds;
        const double stop =
            block.ending == BlockEnd::MidByte ? block.stopSeconds : block.endSeconds;
        placed.end = stop;
        placed.header =
            tapeBlockKind(block.bytes.data(), block.bytes.size()) != TapeBlockKind::Data;
        if (placed.header)
            file = printableFileName(tapeFileName(block.bytes.data(), block.bytes.size()));
        if (placed.header || judgements[i].file != TapeBlockKind::Data)
            placed.file = file;
        result.blocks.push_back(placed);

        const std::size_t here = result.blocks.size() - 1;
        const double byte = byteSeconds(block);
        std::vector<DecodeProblem> problems;
        auto add = [&](ProblemKind kind, std::size_t first, std::size_t count, double start,
                       double end) -> DecodeProblem& {
            DecodeProblem problem;
            problem.kind = kind;
            problem.imageBlock = here;
            problem.first = first;
            problem.count = count;
            problem.offset = offset + first;
            problem.length = count;
            problem.start = start;
            problem.end = std::max(start, end);
            problems.push_back(problem);
            return problems.back();
        };
        for (std::size_t k = 0; k < block.framingErrors.size(); ++k)
            add(ProblemKind::Framing, block.framingErrors[k], 1, block.framingErrorSeconds[k],
                block.framingErrorSeconds[k] + byte);
        for (const LostStretch& lost : block.lost) {
            if (lost.doubtfulBefore && lost.first > 0)
                add(ProblemKind::Doubtful, lost.first - 1, 1, lost.seconds - byte, lost.seconds);
            DecodeProblem& problem =
                add(ProblemKind::Lost, lost.first, lost.count, lost.seconds, lost.endSeconds);
            problem.damage = lost.damage;
            problem.sureness = lost.sureness;
        }
        for (const UnsureBytes& unsure : unsureStretches(block))
            add(ProblemKind::Unsure, unsure.first, unsure.count, unsure.seconds,
                unsure.seconds + byte * static_cast<double>(unsure.count))
                .doubt = unsure.doubt;
        std::size_t guessedFirst = 0;
        std::size_t guessedEnd = 0;
        if (guessedPlaces(block, guessedFirst, guessedEnd) && guessedEnd > guessedFirst)
            add(ProblemKind::Misplaced, guessedFirst, guessedEnd - guessedFirst,
                block.seconds + byte * static_cast<double>(guessedFirst),
                block.seconds + byte * static_cast<double>(guessedEnd));
        // After a jump that lost at least so many bytes, with no file header to tell how many,
        // every later byte of the block may stand too early.
        for (const LostStretch& lost : block.lost) {
            const std::size_t after = lost.first + lost.count;
            if (lost.sureness == LostCount::AtLeast && after < block.bytes.size()) {
                add(ProblemKind::Misplaced, after, block.bytes.size() - after, lost.endSeconds,
                    block.endSeconds);
                break;
            }
        }
        std::stable_sort(
            problems.begin(), problems.end(),
            [](const DecodeProblem& a, const DecodeProblem& b) { return a.first < b.first; });
        const BlockJudgement& judgement = judgements[i];
        const bool cut = judgement.verdict == BlockVerdict::Short ||
                         judgement.verdict == BlockVerdict::EndMissing;
        const std::size_t size = block.bytes.size();
        if (cut || (judgement.verdict == BlockVerdict::Unjudged && block.endsEarly()))
            add(ProblemKind::CutShort, size, 0, stop, stop);
        if (!cut && !blockFault(judgement, size).empty())
            add(ProblemKind::Unended, size, 0, block.endSeconds, block.endSeconds);
        result.problems.insert(result.problems.end(), problems.begin(), problems.end());
        offset += size;
    }
    result.clean = result.problems.empty();
}

DecodeResult decodeRecordings(const std::vector<RecordingInput>& takes,
                              const DecodeOptions& options, const DecodeProgress& progress) {
    DecodeResult result;
    const double share = takes.empty() ? 1 : 1.0 / static_cast<double>(takes.size());
    // The margins of each byte's bits serve only to decode takes together.
    DecodeOptions each = options;
    each.margins = takes.size() > 1;
    for (std::size_t i = 0; i < takes.size(); ++i) {
        result.takes.emplace_back();
        if (!decodeTake(takes[i], each, progress, share * static_cast<double>(i), share,
                        result.takes.back(), result.failure)) {
            result.failed = true;
            return result;
        }
    }
    if (result.takes.empty()) {
        result.failed = true;
        result.failure = {"", "no recording to decode"};
        return result;
    }
    if (result.takes.size() > 1) {
        std::vector<std::vector<DecodedBlock>> blocks;
        for (DecodedTake& take : result.takes)
            blocks.push_back(std::move(take.blocks));
        result.combined = combineTakes(blocks);
        for (std::size_t i = 0; i < blocks.size(); ++i)
            result.takes[i].blocks = std::move(blocks[i]);
    }
    layOutImage(result);
    return result;
}
