#pragma once
// The decoder's report: a line per block (where it starts in the recording, its baud rate and
// speed, its size, and the file a header block names), a line for every byte with a framing
// error, for every stretch of bytes lost to damage, for a block that ends early or holds fewer
// bytes than its file header announces, for a file that stops before its end, and a closing
// summary.
#include <ostream>
#include <string>
#include <vector>

#include "core/audio/casdecoder.h"

// A time in the recording as minutes, seconds and hundredths: "1:05.25".
std::string recordingTime(double seconds);

// Writes the report to `out`; with `quiet` only the problem lines. Returns whether the decode was
// clean: no framing error, no byte lost, no block that ends early and no file without its end.
bool reportDecode(const std::vector<DecodedBlock>& blocks, bool quiet, std::ostream& out);
