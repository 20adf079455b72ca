#pragma once
// The wav2cas program: decodes a .wav recording of a cassette into a tape image (.cas).
//   wav2cas INPUT.wav OUTPUT.cas [-q] [--baud 1200|2400] [--channel left|right]
// Writes a report line per block to `out` and every failure as one line to `err`. Returns the
// exit status: 0 for a clean decode, 1 when a byte had a framing error, a block ended early, the
// recording held no tape signal or the decode failed, 2 for a wrong command line.
#include <ostream>

int runWav2Cas(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
