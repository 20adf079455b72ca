#include "core/audio/decodereport.h"

#include <cmath>
#include <cstdio>

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

} // namespace

std::string recordingTime(double seconds) {
    const long hundredths = std::lround(seconds * 100);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

bool reportDecode(const std::vector<DecodedBlock>& blocks, bool quiet, std::ostream& out) {
    std::vector<BlockBytes> spans;
    for (const DecodedBlock& block : blocks)
        spans.push_back({block.bytes.data(), block.bytes.size()});
    const std::vector<BlockJudgement> judgements = judgeTapeBlocks(spans);
    std::size_t bytes = 0;
    std::size_t framingErrors = 0;
    std::size_t earlyEnds = 0;
    std::size_t unendedFiles = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const DecodedBlock& block = blocks[i];
        const BlockJudgement& judgement = judgements[i];
        const std::string name = "  block " + std::to_string(i + 1);
        if (!quiet)
            out << blockLine(block, i + 1) << '\n';
        for (std::size_t k = 0; k < block.framingErrors.size(); ++k)
            out << recordingTime(block.framingErrorSeconds[k]) << name << ": framing error in byte "
                << block.framingErrors[k] << '\n';
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
    const bool clean = framingErrors == 0 && earlyEnds == 0 && unendedFiles == 0;
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
        out << '\n';
    }
    return clean;
}
