#pragma once
// The converter's command line: INPUT.cas OUTPUT.wav, with the options -2 (double baud rate) and
// -i (inverted polarity) anywhere among them.
#include <string>

#include "core/audio/encoder/casencoder.h"

struct Cas2WavArgs {
    std::string input;
    std::string output;
    SignalOptions signal;
    bool help = false; // -h or --help
};

// Fills `args` from argv[1..argc-1]. Returns an empty string on success, otherwise what is wrong.
//
// The editor passes its two paths unquoted, the second being the first with ".wav" appended, so a
// path with blanks arrives in several words. When the words split into two halves that fit that
// pattern, the halves joined by single blanks are taken as the two paths.
std::string parseCas2WavArgs(int argc, const char* const* argv, Cas2WavArgs& args);
