// tomkrin wav2cas: a recording of a cassette decoded into a tape image, by the decoder wav2cas
// uses. Its options are read by that decoder's own parser, so both programs take them alike.
#include <vector>

#include "cli/tomkrin/clifiles.h"
#include "cli/wav2cas/wav2castool.h"

namespace {

// The words as wav2cas would have been given them.
std::vector<std::string> decoderWords(const ParsedArgs& args) {
    std::vector<std::string> words = {"wav2cas"};
    words.insert(words.end(), args.positional.begin(), args.positional.end());
    if (args.has("-q"))
        words.push_back("-q");
    for (const char* option : {"--baud", "--channel", "--report", "--labels", "--picture"}) {
        if (args.has(option)) {
            words.push_back(option);
            words.push_back(args.value(option));
        }
    }
    return words;
}

int runWav2CasCommand(const ParsedArgs& args, CliContext& context) {
    if (args.positional.size() < 2)
        return usageError(context, wav2casCommand(), "give IN.wav (or IN.flac) and OUT.cas");
    const std::vector<std::string> words = decoderWords(args);
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    Wav2CasArgs decoderArgs;
    const std::string problem =
        parseWav2CasArgs(static_cast<int>(argv.size()), argv.data(), decoderArgs);
    if (!problem.empty())
        return usageError(context, wav2casCommand(), problem);
    FileFailure failure;
    switch (decodeRecording(decoderArgs, context.out, failure)) {
    case DecodeOutcome::Clean:
        return kStatusOk;
    case DecodeOutcome::Flawed:
        return kStatusFailed;
    case DecodeOutcome::Failed:
        break;
    }
    return fail(context, failure);
}

} // namespace

const Command& wav2casCommand() {
    static const Command command = {
        "wav2cas",
        "IN.wav|IN.flac [MORE TAKES...] OUT.cas [-q] [--baud 1200|2400] [--channel left|right] "
        "[--report FILE.json] [--labels FILE.txt] [--picture FILE.png]",
        "a recording of a cassette decoded into a tape image (what wav2cas does)",
        "Decodes a recording of an MSX cassette (PCM or float .wav, or FLAC, mono or stereo,\n"
        "8,000 to 192,000 Hz) into a tape image, finding the baud rate and tape speed of each\n"
        "block and reading on after damage. Prints a line per block and names the time of every\n"
        "byte with a framing error, of every stretch of bytes lost to damage (written as 0x00 in\n"
        "their places), of every block that holds fewer bytes than its file header announces\n"
        "(or, with no header before it, ends early) and of every file that stops before its\n"
        "end; the exit status is then 1, though the image is written.\n"
        "Several recordings of one tape before OUT.cas are decoded together, each bit by the\n"
        "margins of every take that holds it, a stretch one take lost from the others.\n"
        "The same decoder as wav2cas.\n"
        "  -q                     report only the problems, not every block\n"
        "  --baud 1200|2400       listen for this baud rate only\n"
        "  --channel left|right   decode this channel of a stereo recording\n"
        "  --report FILE.json     write the blocks and problems with their places as JSON\n"
        "  --labels FILE.txt      write an Audacity label track of the blocks and problems\n"
        "  --picture FILE.png     draw the recording with its blocks and problems\n",
        {{"-q", false},
         {"--baud", true},
         {"--channel", true},
         {"--report", true},
         {"--labels", true},
         {"--picture", true}},
        runWav2CasCommand,
    };
    return command;
}
