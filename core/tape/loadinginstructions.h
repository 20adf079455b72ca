#pragma once
// What to type on the MSX to load a tape, told by the tape's first file header: the MSX loads each
// kind of file with its own command.
//   - a binary file (BSAVE): BLOAD"CAS:",R loads and starts it;
//   - a BASIC program (CSAVE): CLOAD loads it, RUN starts it;
//   - an ASCII file (SAVE, a BASIC program as text): RUN"CAS:" loads and starts it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/tape/casblocks.h"

struct LoadingInstructions {
    // The kind of the first file header; Data when the tape holds none.
    TapeBlockKind kind = TapeBlockKind::Data;
    std::string fileName; // the name in that header, characters that do not print shown as '?'
    std::vector<std::string> commands; // what to type, one command after the other
    std::string text;                  // the same as a sentence
};

// The instructions for the tape image `tape`. Accepts any bytes.
LoadingInstructions loadingInstructions(const std::uint8_t* tape, std::size_t size);
