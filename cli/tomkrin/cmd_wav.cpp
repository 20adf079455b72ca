// tomkrin wav: a tape image as a .wav recording, by the converter cas2wav uses.
#include "cli/tomkrin/clifiles.h"
#include "cli/cas2wav/cas2wavtool.h"

namespace {

int runWav(const ParsedArgs& args, CliContext& context) {
    if (args.positional.size() != 2)
        return usageError(context, wavCommand(), "give TAPE.cas and OUT.wav");
    SignalOptions signal;
    signal.doubleSpeed = args.has("-2");
    signal.inverted = args.has("-i");
    FileFailure failure;
    if (!convertTapeImage(args.positional[0], args.positional[1], signal, failure))
        return fail(context, failure);
    return kStatusOk;
}

} // namespace

const Command& wavCommand() {
    static const Command command = {
        "wav",
        "TAPE.cas OUT.wav [-2] [-i]",
        "a tape image as a .wav recording (what cas2wav does)",
        "Writes the recording of the tape signal that a real MSX loads: mono 8-bit PCM at\n"
        "43,200 Hz, 1200 baud. The same converter as cas2wav.\n"
        "  -2   2400 baud\n"
        "  -i   inverted polarity\n",
        {{"-2", false}, {"-i", false}},
        runWav,
    };
    return command;
}
