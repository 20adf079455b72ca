#pragma once
// The cas2wav program: converts a tape image (.cas) to a .wav recording of the tape signal.
//   cas2wav INPUT.cas OUTPUT.wav [-2] [-i]
// Returns the exit status: 0 on success, 1 when the conversion fails, 2 for a wrong command line.
// Every failure writes one line to `err` and leaves OUTPUT.wav as it was.
#include <ostream>

int runCas2Wav(int argc, const char* const* argv, std::ostream& err);
