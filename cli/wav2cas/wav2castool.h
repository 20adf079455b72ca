#pragma once
// The wav2cas program: decodes a .wav recording of a cassette into a tape image (.cas).
//   wav2cas INPUT.wav OUTPUT.cas [-q] [--baud 1200|2400] [--channel left|right]
//           [--report FILE.json] [--labels FILE.txt] [--picture FILE.png]
// Writes a report line per block to `out` and every failure as one line to `err`. Returns the
// exit status: 0 for a clean decode, 1 when a byte had a framing error, a block or a file was cut
// short, the recording held no tape signal or the decode failed, 2 for a wrong command line.
#include <ostream>

#include "cli/wav2cas/wav2casargs.h"
#include "core/files/filefailure.h"

int runWav2Cas(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

enum class DecodeOutcome {
    Clean,  // every block read without a fault
    Flawed, // the image was written, but a byte had a framing error or a block or file was cut
    Failed, // nothing was written; the failure says why
};

// The decode itself, shared by every program that offers it: reads the recording `args.input`,
// reports its blocks and faults to `report` (only the faults when `args.quiet`) and writes the
// tape image to `args.output` through a temporary file, and the JSON, labels and picture asked for.
DecodeOutcome decodeRecording(const Wav2CasArgs& args, std::ostream& report, FileFailure& failure);
