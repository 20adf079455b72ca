#include "cli/wav2cas/wav2casreport.h"

#include <cmath>
#include <cstdio>

#include "core/tape/tapedirectory.h"

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

std::string earlyEndLine(const DecodedBlock& block, std::size_t number) {
    const std::string name = "block " + std::to_string(number);
    if (block.ending == BlockEnd::MidByte)
        return recordingTime(block.stopSeconds) + "  " + name +
               " ends early: the signal stops in the middle of byte " +
               std::to_string(block.bytes.size());
    return recordingTime(block.endSeconds) + "  " + name +
           " ends early: the recording stops while the block still sounds";
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
    std::size_t bytes = 0;
    std::size_t framingErrors = 0;
    std::size_t earlyEnds = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const DecodedBlock& block = blocks[i];
        if (!quiet)
            out << blockLine(block, i + 1) << '\n';
        for (std::size_t k = 0; k < block.framingErrors.size(); ++k)
            out << recordingTime(block.framingErrorSeconds[k]) << "  block " << i + 1
                << ": framing error in byte " << block.framingErrors[k] << '\n';
        if (block.endsEarly())
            out << earlyEndLine(block, i + 1) << '\n';
        bytes += block.bytes.size();
        framingErrors += block.framingErrors.size();
        earlyEnds += block.endsEarly() ? 1 : 0;
    }
    const bool clean = framingErrors == 0 && earlyEnds == 0;
    if (!quiet)
        out << plural(blocks.size(), "block") << ", " << plural(bytes, "byte") << ", "
            << (clean ? std::string("clean")
                      : plural(framingErrors, "framing error") + ", " + plural(earlyEnds, "block") +
                            " ending early")
            << '\n';
    return clean;
}
