#pragma once
// The decoder's report: a line per block (where it starts in the recording, its baud rate and
// speed, its size, and the file a header block names), a line for every byte with a framing
// error, for every stretch of bytes lost to damage, for a block that ends early or holds fewer
// bytes than its file header announces, for a file that stops before its end, and a closing
// summary.
#include <ostream>
#include <string>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/decoder/decoderecordings.h"

// A time in the recording as minutes, seconds and hundredths: "1:05.25".
std::string recordingTime(double seconds);

// Writes the report to `out`; with `quiet` only the problem lines. Returns whether the decode was
// clean: no framing error, no byte lost, no block that ends early and no file without its end.
bool reportDecode(const std::vector<DecodedBlock>& blocks, bool quiet, std::ostream& out);
// The same for a decode's result.
bool reportDecode(const DecodeResult& result, bool quiet, std::ostream& out);

// A problem in the report's words, its bytes counted in its block: "bytes 8271 to 8275 lost in a
// dropout of 40 ms".
std::string problemText(const DecodeResult& result, const DecodeProblem& problem);
