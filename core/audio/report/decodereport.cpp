#include "core/audio/report/decodereport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/audio/report/takesreport.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapefiles.h"

namespace {

// "header of binary file "GAME"" for a file header block, empty otherwise. Bytes that do not
// print are shown as '?', since a poor recording may bring any.
std::string headerText(const std::vector<std::uint8_t>& bytes) {
    const TapeBlockKind kind = tapeBlockKind(bytes.data(), bytes.size());
    if (kind == TapeBlockKind::Data)
        return "";
    std::string name = tapeFileName(bytes.data(), bytes.size());
    for (char& c : name)
        if (c < 0x20 || c >= 0x7F)
            c = '?';
    return std::string("  header of ") + tapeBlockKindName(kind) + " file \"" + name + "\"";
}

std::string blockLine(const DecodedBlock& block, std::size_t number) {
    char speed[16];
    std::snprintf(speed, sizeof speed, "%.3f", block.speed);
    return recordingTime(block.seconds) + "  block " + std::to_string(number) + "  " +
           std::to_string(block.baud) + " baud  speed " + speed + "  " +
           std::to_string(block.bytes.size()) + " bytes" + headerText(block.bytes);
}

// Where the block stops sounding: in the middle of a byte, or after its last whole byte.
double stopTime(const DecodedBlock& block) {
    return block.ending == BlockEnd::MidByte ? block.stopSeconds : block.endSeconds;
}

// A block that no file header announces can only be told to end early by how its signal ends.
std::string earlyEndLine(const DecodedBlock& block, std::size_t number) {
    const std::string name = "block " + std::to_string(number);
    if (block.ending == BlockEnd::MidByte)
        return recordingTime(block.stopSeconds) + "  " + name +
               " ends early: the signal stops in the middle of byte " +
               std::to_string(block.bytes.size());
    return recordingTime(block.endSeconds) + "  " + name +
           " ends early: the recording stops while the block still sounds";
}

bool isCut(const BlockJudgement& judgement) {
    return judgement.verdict == BlockVerdict::Short ||
           judgement.verdict == BlockVerdict::EndMissing;
}

std::string plural(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string milliseconds(double seconds) {
    return std::to_string(std::lround(seconds * 1000)) + " ms";
}

std::string bytesText(std::size_t first, std::size_t count) {
    return count == 1
               ? "byte " + std::to_string(first)
               : "bytes " + std::to_string(first) + " to " + std::to_string(first + count - 1);
}

// "bytes 8271 to 8275 lost in a dropout of 40 ms (filled with 0x00)".
std::string lostLine(const LostStretch& lost) {
    std::string line = bytesText(lost.first, lost.count);
    const double duration = lost.endSeconds - lost.seconds;
    switch (lost.damage) {
    case Damage::Dropout:
        line += " lost in a dropout of " + milliseconds(duration);
        break;
    case Damage::Noise:
        line += " lost in a burst of noise of " + milliseconds(duration);
        break;
    case Damage::Jump:
        line += " lost where the signal jumps out of step, as at a splice or a crease";
        break;
    }
    line += " (filled with 0x00";
    switch (lost.sureness) {
    case LostCount::Sure:
        break;
    case LostCount::Estimated:
        line += "; how many, by its duration: no file header tells the block's length";
        break;
    case LostCount::AtLeast:
        line += "; at least so many: no file header tells the block's length";
        break;
    case LostCount::Guessed:
        line += "; the file header tells how many bytes the block's jumps lost together, and how "
                "they share them is a guess";
        break;
    }
    if (lost.doubtfulBefore)
        line +=
            "; byte " + std::to_string(lost.first - 1) + ", read just before, may hold some of it";
    return line + ")";
}

// "bytes 2634 to 2635 unsure: ... (kept as read)", for unsure bytes of one kind in a row.
std::string unsureLine(const UnsureBytes& unsure) {
    std::string line = bytesText(unsure.first, unsure.count) + " unsure: ";
    switch (unsure.doubt) {
    case Doubt::Faint:
        line += "bits barely told from the other value, as noise leaves them";
        break;
    case Doubt::Jump:
        line += "the signal jumps out of step right after it, as at a splice or a crease, and no "
                "file header tells how many bytes the jump took";
        break;
    case Doubt::IdBytes:
        line += "the ten bytes that tell the kind of a file header do not agree";
        break;
    case Doubt::Name:
        line += "the file's name holds bytes that do not print";
        break;
    case Doubt::Takes:
        line += "takes read a bit of it clearly as different values";
        break;
    case Doubt::Beside:
        line += "the only takes that hold it read it right beside their damage, and doubted it";
        break;
    }
    return line + " (kept as read)";
}

// The bytes read between the first and the last jump whose share of the lost bytes is guessed:
// their places are guesses too.
std::size_t guessedBytes(const DecodedBlock& block) {
    std::vector<const LostStretch*> guessed;
    for (const LostStretch& lost : block.lost)
        if (lost.sureness == LostCount::Guessed)
            guessed.push_back(&lost);
    if (guessed.size() < 2)
        return 0;
    const LostStretch& first = *guessed.front();
    const LostStretch& last = *guessed.back();
    std::size_t count = last.first - (first.first + first.count);
    for (const LostStretch& lost : block.lost)
        if (&lost > &first && &lost < &last)
            count -= lost.count;
    return count;
}

} // namespace

std::string problemText(const DecodeResult& result, const DecodeProblem& problem) {
    const ImageBlock& placed = result.blocks[problem.imageBlock];
    const std::vector<DecodedBlock>& blocks = result.takes[placed.take].blocks;
    const DecodedBlock& block = blocks[placed.block];
    const std::string bytes = bytesText(problem.first, problem.count);
    switch (problem.kind) {
    case ProblemKind::Lost: {
        LostStretch lost;
        lost.first = problem.first;
        lost.count = problem.count;
        lost.damage = problem.damage;
        lost.seconds = problem.start;
        lost.endSeconds = problem.end;
        std::string line = lostLine(lost);
        return line.substr(0, line.find(" (filled"));
    }
    case ProblemKind::Unsure: {
        const std::string line = unsureLine({problem.first, problem.count, 0, problem.doubt});
        return line.substr(0, line.find(" (kept"));
    }
    case ProblemKind::Doubtful:
        return bytes + " read just before lost bytes, and may hold some of them";
    case ProblemKind::Misplaced:
        return bytes + " placed by a guess: how many bytes the jumps before them took is not "
                       "known";
    case ProblemKind::Framing:
        return "framing error in " + bytes;
    case ProblemKind::CutShort: {
        const BlockJudgement judgement = judgeDecodedBlocks(blocks)[placed.block];
        if (isCut(judgement))
            return blockFault(judgement, block.bytes.size());
        const std::string line = earlyEndLine(block, placed.block + 1);
        return line.substr(line.find("ends early"));
    }
    case ProblemKind::Unended:
        return blockFault(judgeDecodedBlocks(blocks)[placed.block], block.bytes.size());
    }
    return bytes;
}

bool reportDecode(const DecodeResult& result, bool quiet, std::ostream& out) {
    if (result.takes.size() > 1) {
        std::vector<std::string> names;
        for (const DecodedTake& take : result.takes)
            names.push_back(take.name);
        return reportTakes(result.combined, names, quiet, out);
    }
    return reportDecode(result.decodedBlocks(), quiet, out);
}

std::string recordingTime(double seconds) {
    const long hundredths = std::lround(seconds * 100);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

bool reportDecode(const std::vector<DecodedBlock>& blocks, bool quiet, std::ostream& out) {
    const std::vector<BlockJudgement> judgements = judgeDecodedBlocks(blocks);
    std::size_t bytes = 0;
    std::size_t framingErrors = 0;
    std::size_t earlyEnds = 0;
    std::size_t unendedFiles = 0;
    std::size_t lostBytes = 0;
    std::size_t stretches = 0;
    std::size_t guessed = 0;
    std::size_t doubtful = 0;
    std::size_t unsure = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const DecodedBlock& block = blocks[i];
        const BlockJudgement& judgement = judgements[i];
        const std::string name = "  block " + std::to_string(i + 1);
        if (!quiet)
            out << blockLine(block, i + 1) << '\n';
        // The framing errors, the lost stretches and the unsure bytes, in the order of the block.
        struct Line {
            std::size_t byte;
            double seconds;
            std::string text;
        };
        std::vector<Line> lines;
        for (std::size_t k = 0; k < block.framingErrors.size(); ++k)
            lines.push_back({block.framingErrors[k], block.framingErrorSeconds[k],
                             "framing error in byte " + std::to_string(block.framingErrors[k])});
        for (const LostStretch& lost : block.lost) {
            lines.push_back({lost.first, lost.seconds, lostLine(lost)});
            lostBytes += lost.count;
            ++stretches;
            doubtful += lost.doubtfulBefore ? 1 : 0;
        }
        for (const UnsureBytes& stretch : unsureStretches(block)) {
            lines.push_back({stretch.first, stretch.seconds, unsureLine(stretch)});
            unsure += stretch.count;
        }
        std::stable_sort(lines.begin(), lines.end(),
                         [](const Line& a, const Line& b) { return a.byte < b.byte; });
        for (const Line& line : lines)
            out << recordingTime(line.seconds) << name << ": " << line.text << '\n';
        guessed += guessedBytes(block);
        // A block that holds all its header announces is whole, however its signal stops: the
        // recording may end right after it, or in the padding behind it.
        const std::string fault = blockFault(judgement, block.bytes.size());
        const bool cut = isCut(judgement);
        const bool early =
            cut || (judgement.verdict == BlockVerdict::Unjudged && block.endsEarly());
        if (cut)
            out << recordingTime(stopTime(block)) << name << " " << fault << '\n';
        else if (early)
            out << earlyEndLine(block, i + 1) << '\n';
        if (!cut && !fault.empty()) {
            out << recordingTime(block.endSeconds) << name << " " << fault << '\n';
            ++unendedFiles;
        }
        bytes += block.bytes.size();
        framingErrors += block.framingErrors.size();
        earlyEnds += early ? 1 : 0;
    }
    const bool clean =
        framingErrors == 0 && earlyEnds == 0 && unendedFiles == 0 && lostBytes == 0 && unsure == 0;
    if (!quiet) {
        out << plural(blocks.size(), "block") << ", " << plural(bytes, "byte") << ", ";
        if (clean)
            out << "clean";
        else
            out << plural(framingErrors, "framing error") << ", " << plural(earlyEnds, "block")
                << " ending early";
        if (unendedFiles > 0)
            out << ", " << plural(unendedFiles, "file") << " without "
                << (unendedFiles == 1 ? "its" : "their") << " end";
        if (lostBytes > 0)
            out << ", " << plural(lostBytes, "byte") << " lost in " << stretches
                << (stretches == 1 ? " damaged stretch" : " damaged stretches")
                << " (filled with 0x00)";
        if (guessed > 0)
            out << ", " << plural(guessed, "byte") << " placed by a guess";
        if (doubtful > 0)
            out << ", " << plural(doubtful, "byte") << " in doubt";
        if (unsure > 0)
            out << ", " << plural(unsure, "byte") << " unsure";
        out << '\n';
    }
    return clean;
}
