#include "tape/cas2wavtool.h"

#include <cerrno>
#include <exception>
#include <string>
#include <vector>

#include "tape/cas2wavargs.h"
#include "tape/casblocks.h"
#include "tape/casencoder.h"
#include "tape/fileplatform.h"
#include "tape/stagedfile.h"
#include "tape/wholefile.h"

namespace {

constexpr int kConversionFailed = 1;
constexpr int kWrongUsage = 2;
constexpr const char* kUsage = "usage: cas2wav INPUT.cas OUTPUT.wav [-2] [-i]";

int fail(std::ostream& err, const std::string& message) {
    err << "cas2wav: " << message << '\n';
    return kConversionFailed;
}

int convert(const Cas2WavArgs& args, std::ostream& err) {
    // A slip of the keyboard must not turn the tape image into its own recording.
    if (isSameFile(args.input, args.output))
        return fail(err,
                    args.output + " is the input file itself: give the .wav file another name");
    std::vector<std::uint8_t> image;
    errno = 0;
    if (!readWholeFile(args.input, image))
        return fail(err, "cannot read " + args.input + errnoReason());
    const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
    if (blocks.empty())
        return fail(err, args.input + " is not a tape image: it has no block marker");
    StagedFile output;
    errno = 0;
    if (!output.open(args.output))
        return fail(err, "cannot create a file beside " + args.output + errnoReason());
    if (!writeTapeRecording(image.data(), blocks, args.signal, output))
        return fail(err, args.input + " is too long for a .wav file");
    errno = 0;
    if (!output.commit())
        return fail(err, "cannot write " + args.output + errnoReason());
    return 0;
}

} // namespace

int runCas2Wav(int argc, const char* const* argv, std::ostream& err) {
    Cas2WavArgs args;
    const std::string problem = parseCas2WavArgs(argc, argv, args);
    if (!problem.empty()) {
        err << "cas2wav: " << problem << "; " << kUsage << '\n';
        return kWrongUsage;
    }
    try {
        return convert(args, err);
    } catch (const std::exception& e) {
        return fail(err, std::string("conversion failed: ") + e.what());
    }
}
