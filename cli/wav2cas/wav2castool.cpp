#include "cli/wav2cas/wav2castool.h"

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/common/outputfile.h"
#include "core/audio/decoder/decoderecordings.h"
#include "core/audio/report/decodejson.h"
#include "core/audio/report/decodelabels.h"
#include "core/audio/report/decodepicture.h"
#include "core/audio/report/decodereport.h"
#include "core/files/filesource.h"
#include "core/picture/pngimage.h"
#include "cli/wav2cas/wav2casargs.h"

namespace {

constexpr int kDecodeFailed = 1;
constexpr int kWrongUsage = 2;
constexpr const char* kUsage =
    "usage: wav2cas INPUT.wav|INPUT.flac [MORE TAKES...] OUTPUT.cas [-q] [--baud 1200|2400] "
    "[--channel left|right] [--report FILE.json] [--labels FILE.txt] [--picture FILE.png]";
constexpr const char* kHelp =
    "Decodes a recording of an MSX cassette (.wav or .flac) into a tape image (.cas).\n"
    "\n"
    "  -q                      quiet: report only the problems, not every block\n"
    "  --baud 1200|2400        listen for this baud rate only (otherwise found for each block)\n"
    "  --channel left|right    decode this channel of a stereo recording (otherwise both when\n"
    "                          they carry the same signal, else the louder one)\n"
    "  --report FILE.json      write the result as JSON too: each block with its start and\n"
    "                          end in seconds of the recording, its offset and length in\n"
    "                          bytes of the image and its file; each problem with its kind,\n"
    "                          offset and length in the image, start and end in seconds\n"
    "  --labels FILE.txt       write an Audacity label track of every block and problem\n"
    "  --picture FILE.png      draw the recording: its envelope, its blocks, the problems in\n"
    "                          red and the tape's speed, time across\n"
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

DecodeOutcome failWith(FileFailure& failure, const std::string& file, const std::string& what) {
    failure = {file, what};
    return DecodeOutcome::Failed;
}

} // namespace

DecodeOutcome decodeRecording(const Wav2CasArgs& args, std::ostream& report, FileFailure& failure) {
    const std::vector<std::pair<std::string, const char*>> outputs = {
        {args.output, "the input file itself: give the .cas file another name"},
        {args.reportFile, "the input file itself: give the report another name"},
        {args.labelsFile, "the input file itself: give the labels another name"},
        {args.pictureFile, "the input file itself: give the picture another name"}};
    std::vector<std::string> paths = {args.input};
    paths.insert(paths.end(), args.moreTakes.begin(), args.moreTakes.end());
    for (const std::string& path : paths)
        for (const auto& [output, why] : outputs)
            if (!output.empty() && !refuseInputAsOutput(output, path, why, failure))
                return DecodeOutcome::Failed;
    // The recordings are read as streams: a tape side of any length takes little memory.
    std::vector<FileSource> files(paths.size());
    std::vector<RecordingInput> inputs;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        std::string why;
        if (!files[t].open(paths[t], why))
            return failWith(failure, paths[t], FileFailure::cannotRead(why));
        inputs.push_back({paths[t], &files[t], args.channel});
    }
    DecodeOptions options = args.decode;
    options.envelope = !args.pictureFile.empty();
    const DecodeResult result = decodeRecordings(inputs, options);
    if (result.failed) {
        failure = result.failure;
        return DecodeOutcome::Failed;
    }
    reportDecode(result, args.quiet, report);
    if (!writeOutputFile(args.output, result.image, failure))
        return DecodeOutcome::Failed;
    const std::string json = args.reportFile.empty() ? "" : decodeJson(result);
    const std::string labels = args.labelsFile.empty() ? "" : decodeLabels(result);
    if (!args.reportFile.empty() &&
        !writeOutputFile(args.reportFile, std::vector<std::uint8_t>(json.begin(), json.end()),
                         failure))
        return DecodeOutcome::Failed;
    if (!args.labelsFile.empty() &&
        !writeOutputFile(args.labelsFile, std::vector<std::uint8_t>(labels.begin(), labels.end()),
                         failure))
        return DecodeOutcome::Failed;
    if (!args.pictureFile.empty() &&
        !writeOutputFile(args.pictureFile, encodePng(decodePicture(result)), failure))
        return DecodeOutcome::Failed;
    return result.clean ? DecodeOutcome::Clean : DecodeOutcome::Flawed;
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
