#pragma once
// The cas2wav program: converts a tape image (.cas) to a .wav recording of the tape signal.
//   cas2wav INPUT.cas OUTPUT.wav [-2] [-i]
// Returns the exit status: 0 on success, 1 when the conversion fails, 2 for a wrong command line.
// -h or --help writes the usage to `out`.
// Every failure writes one line to `err` and leaves OUTPUT.wav as it was.
#include <ostream>
#include <string>

#include "core/audio/encoder/casencoder.h"
#include "core/files/filefailure.h"

int runCas2Wav(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The conversion itself, shared by every program that offers it: reads the tape image `input` and
// writes its recording to `output` through a temporary file. False with `failure` filled (for a
// line "program: FILE: what") when it fails, in which case `output` is as it was.
bool convertTapeImage(const std::string& input, const std::string& output,
                      const SignalOptions& signal, FileFailure& failure);
