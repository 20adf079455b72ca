#pragma once
// Reporting failures, and reading and writing the files of a command.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/tomkrin/command.h"

// Writes "tomkrin: FILE: WHAT" to the error output; returns 1.
int fail(CliContext& context, const std::string& file, const std::string& what);

// Reads the whole file; reports a failure and returns false.
bool readInput(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes);

// Whether `bytes` are a tape image: they hold at least one block marker.
bool isTapeImage(const std::vector<std::uint8_t>& bytes);

// Reads a tape image; reports a failure (unreadable, or no block marker) and returns false.
bool readTapeImage(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes);

// "30000 bytes long: level 5 would end at byte 26368" and the like, for a tape too short to hold
// a body at `offset`.
std::string tooShortForBody(std::size_t tapeSize, std::size_t offset, const std::string& what);

// Refuses a tape image that is not the game's tape (its level slots lie past its end or hold
// no levels) in one line, "tomkrin: TAPE: not the game's tape: why", and returns 1, unless
// `force`; returns 0 to go on.
int refuseForeignTape(CliContext& context, const std::string& path,
                      const std::vector<std::uint8_t>& tape, bool force);

// Writes `bytes` to `path` through a temporary file and a rename, so the file appears whole or
// not at all. A path that is one of `inputs`, however spelt, is refused. Reports a failure and
// returns false.
bool writeOutput(CliContext& context, const std::string& path,
                 const std::vector<std::uint8_t>& bytes, const std::vector<std::string>& inputs);
