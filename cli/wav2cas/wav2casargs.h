#pragma once
// The decoder's command line: INPUT.wav OUTPUT.cas with its options anywhere among them; more
// recordings of the same tape may come before OUTPUT.cas, as further takes to decode together.
//   -q               quiet: no line per block, only the problems
//   --baud 1200|2400 listen for this baud rate only (found for each block otherwise)
//   --channel left|right   decode this channel of a stereo recording (both, or the better one,
//                          otherwise)
//   --report FILE.json     the result as JSON too: blocks and problems with their places
//   --labels FILE.txt      an Audacity label track of the blocks and problems
//   --picture FILE.png     a picture of the recording with its blocks and problems
//   -h, --help       the usage text
#include <string>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/decoder/tapesignal.h"

struct Wav2CasArgs {
    std::string input;
    std::vector<std::string> moreTakes; // the other recordings of the tape, after `input`
    std::string output;
    bool quiet = false;
    bool help = false;
    DecodeOptions decode;
    ChannelChoice channel = ChannelChoice::Best;
    std::string reportFile; // empty: none written
    std::string labelsFile;
    std::string pictureFile;
};

// Fills `args` from argv[1..argc-1]. Returns an empty string on success, otherwise what is wrong.
std::string parseWav2CasArgs(int argc, const char* const* argv, Wav2CasArgs& args);
