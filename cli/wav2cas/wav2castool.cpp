#include "cli/wav2cas/wav2castool.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "cli/common/outputfile.h"
#include "core/audio/casdecoder.h"
#include "core/audio/decodemessages.h"
#include "core/audio/decoder/takes.h"
#include "core/audio/decodereport.h"
#include "core/audio/recording.h"
#include "core/audio/tapesignal.h"
#include "core/files/filesource.h"
#include "cli/wav2cas/wav2casargs.h"

namespace {

constexpr int kDecodeFailed = 1;
constexpr int kWrongUsage = 2;
constexpr const char* kUsage =
    "usage: wav2cas INPUT.wav|INPUT.flac [MORE TAKES...] OUTPUT.cas [-q] [--baud 1200|2400] "
    "[--channel left|right]";
constexpr const char* kHelp =
    "Decodes a recording of an MSX cassette (.wav or .flac) into a tape image (.cas).\n"
    "\n"
    "  -q                      quiet: report only the problems, not every block\n"
    "  --baud 1200|2400        listen for this baud rate only (otherwise found for each block)\n"
    "  --channel left|right    decode this channel of a stereo recording (otherwise both when\n"
    "                          they carry the same signal, else the louder one)\n"
    "  -h, --help              this text\n"
    "\n"
    "Reads PCM .wav files of 8, 16, 24 or 32 bits or 32-bit floats and FLAC files, mono or\n"
    "stereo, at 8,000 to 192,000 Hz, told apart by their contents. Prints a line per block:\n"
    "its time in the recording, baud rate, tape speed, size, and the file a header block\n"
    "names; then every byte with a framing error, every stretch of bytes lost to damage (a\n"
    "dropout, a splice or crease, noise: the reading goes on after it, and the lost bytes are\n"
    "written as 0x00 in their places), every block that holds fewer bytes than its file\n"
    "header announces (or, with no header before it, whose signal stops early) and every file\n"
    "that stops before its end. A block that holds all its header announces is whole, even\n"
    "where the recording stops right after it.\n"
    "A byte that frames but whose bits were told by a narrow margin, or a file header that\n"
    "does not hold together, is named as unsure.\n"
    "Several recordings of one tape (takes from other decks or days) given before OUTPUT.cas\n"
    "are decoded together: each block's bits are decided by the margins of every take that\n"
    "holds them, and bytes one take lost come from the others. The report then tells, per\n"
    "block, which takes held it, which bytes came from fewer of them and where they disagreed.\n"
    "Exit status: 0 for a clean decode, sure of every byte, 1 when there was a framing error,\n"
    "a byte was lost, placed by a guess or unsure, a block or file was cut short, no tape\n"
    "signal was heard or the decode failed (what was decoded is still written), 2 for a wrong\n"
    "command line.\n";

// The blocks of the recording `path`; false, with `failure` set, when it cannot be decoded.
bool decodeTake(const std::string& path, const Wav2CasArgs& args, std::vector<DecodedBlock>& blocks,
                FileFailure& failure) {
    if (!refuseInputAsOutput(args.output, path,
                             "the input file itself: give the .cas file another name", failure))
        return false;
    auto failWith = [&](const std::string& what) {
        failure = {path, what};
        return false;
    };
    // The recording is read as a stream: a tape side of any length takes little memory.
    FileSource file;
    std::string why;
    if (!file.open(path, why))
        return failWith(FileFailure::cannotRead(why));
    std::unique_ptr<RecordingStream> recording;
    const std::string problem = openRecording(file, recording);
    if (!problem.empty())
        return failWith(problem);
    TapeSignalStream signal(*recording, args.channel);
    if (!signal.prepare())
        return failWith(recording->failure());
    blocks = decodeTape(signal, recording->format().sampleRate, args.decode);
    // A file found damaged on the way is refused as a whole, as one damaged at its start is.
    if (!recording->failure().empty())
        return failWith(recording->failure());
    if (blocks.empty())
        return failWith(kNoTapeSignal);
    return true;
}

} // namespace

DecodeOutcome decodeRecording(const Wav2CasArgs& args, std::ostream& report, FileFailure& failure) {
    std::vector<std::string> paths = {args.input};
    paths.insert(paths.end(), args.moreTakes.begin(), args.moreTakes.end());
    std::vector<std::vector<DecodedBlock>> takes(paths.size());
    for (std::size_t t = 0; t < paths.size(); ++t)
        if (!decodeTake(paths[t], args, takes[t], failure))
            return DecodeOutcome::Failed;
    bool clean = false;
    std::vector<std::uint8_t> image;
    if (takes.size() == 1) {
        clean = reportDecode(takes[0], args.quiet, report);
        image = tapeImage(takes[0]);
    } else {
        const CombinedTape tape = combineTakes(takes);
        clean = reportTakes(tape, paths, args.quiet, report);
        image = tapeImage(tape.blocks);
    }
    if (!writeOutputFile(args.output, image, failure))
        return DecodeOutcome::Failed;
    return clean ? DecodeOutcome::Clean : DecodeOutcome::Flawed;
}

int runWav2Cas(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    Wav2CasArgs args;
    const std::string problem = parseWav2CasArgs(argc, argv, args);
    if (!problem.empty()) {
        err << "wav2cas: " << problem << "; " << kUsage << '\n';
        return kWrongUsage;
    }
    if (args.help) {
        out << kUsage << "\n\n" << kHelp;
        return 0;
    }
    FileFailure failure;
    DecodeOutcome outcome;
    try {
        outcome = decodeRecording(args, out, failure);
    } catch (const std::exception& e) {
        failure = {args.input, std::string("decoding failed: ") + e.what()};
        outcome = DecodeOutcome::Failed;
    }
    if (outcome == DecodeOutcome::Failed)
        err << "wav2cas: " << failure.text() << '\n';
    return outcome == DecodeOutcome::Clean ? 0 : kDecodeFailed;
}
