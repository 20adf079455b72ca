#include "cli/cas2wav/cas2wavtool.h"

#include <exception>
#include <vector>

#include "cli/cas2wav/cas2wavargs.h"
#include "cli/common/outputfile.h"
#include "core/audio/encoder/encodetape.h"
#include "core/files/filebytes.h"
#include "core/tape/tapeimage.h"

namespace {

constexpr int kConversionFailed = 1;
constexpr int kWrongUsage = 2;
constexpr const char* kUsage = "usage: cas2wav INPUT.cas OUTPUT.wav [-2] [-i]";
constexpr const char* kHelp =
    "Converts an MSX tape image to a .wav recording that a real MSX loads.\n"
    "  -2          2400 baud instead of 1200\n"
    "  -i          inverted polarity\n"
    "  -h, --help  this text\n";

bool failWith(FileFailure& failure, const std::string& file, const std::string& what) {
    failure = {file, what};
    return false;
}

bool convert(const std::string& input, const std::string& output, const SignalOptions& signal,
             FileFailure& failure) {
    if (!refuseInputAsOutput(output, input,
                             "the input file itself: give the .wav file another name", failure))
        return false;
    std::vector<std::uint8_t> image;
    std::string why;
    if (!readWholeFile(input, image, why)) {
        failure = FileFailure::unreadable(input, why);
        return false;
    }
    // A tape image is checked before the output is touched; its recording then goes straight to
    // the output's temporary file.
    if (!checkTapeImage(input, image, failure))
        return false;
    EncodedTape encoded;
    return writeOutputFile(
        output,
        [&](ByteSink& sink, FileFailure& refused) {
            return encodeTapeImage(input, image, signal, sink, encoded, refused);
        },
        failure);
}

} // namespace

bool convertTapeImage(const std::string& input, const std::string& output,
                      const SignalOptions& signal, FileFailure& failure) {
    try {
        return convert(input, output, signal, failure);
    } catch (const std::exception& e) {
        return failWith(failure, input, std::string("conversion failed: ") + e.what());
    }
}

int runCas2Wav(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    Cas2WavArgs args;
    const std::string problem = parseCas2WavArgs(argc, argv, args);
    if (!problem.empty()) {
        err << "cas2wav: " << problem << "; " << kUsage << '\n';
        return kWrongUsage;
    }
    if (args.help) {
        out << kUsage << "\n\n" << kHelp;
        return 0;
    }
    FileFailure failure;
    if (convertTapeImage(args.input, args.output, args.signal, failure))
        return 0;
    err << "cas2wav: " << failure.text() << '\n';
    return kConversionFailed;
}
