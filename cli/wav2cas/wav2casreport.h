#pragma once
// The decoder's report: a line per block (where it starts in the recording, its baud rate and
// speed, its size, and the file a header block names), a line for every byte with a framing
// error and for a block that ends early, and a closing summary.
#include <ostream>
#include <string>
#include <vector>

#include "core/audio/casdecoder.h"

// A time in the recording as minutes, seconds and hundredths: "1:05.25".
std::string recordingTime(double seconds);

// Writes the report to `out`; with `quiet` only the problem lines. Returns whether the decode was
// clean: no framing error and no block that ends early.
bool reportDecode(const std::vector<DecodedBlock>& blocks, bool quiet, std::ostream& out);
