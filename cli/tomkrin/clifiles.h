#pragma once
// Reporting failures, and reading and writing the files of a command. What the bytes may be is
// judged by the core (core/levelsource); here they are read and written.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/tomkrin/command.h"
#include "core/files/filefailure.h"
#include "core/levelsource/filekind.h"
#include "core/levelsource/gametape.h"

// Writes "tomkrin: FILE: WHAT" to the error output; returns 1.
int fail(CliContext& context, const std::string& file, const std::string& what);
int fail(CliContext& context, const FileFailure& failure);

// Reads the whole file; reports a failure and returns false.
bool readInput(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes);

// Reads a tape image; reports a failure (unreadable, or no block marker) and returns false.
bool readTapeImage(CliContext& context, const std::string& path, std::vector<std::uint8_t>& bytes);

// How tomkrin takes the slots of a tape that is not the game's: with --force.
ForeignTapes foreignTapes(bool force);

// Refuses a tape image that is not the game's tape in one line, "tomkrin: TAPE: not the game's
// tape: why", and returns 1, unless `force`; returns 0 to go on.
int refuseForeignTape(CliContext& context, const std::string& path,
                      const std::vector<std::uint8_t>& tape, bool force);

// Writes `bytes` to `path` through a temporary file and a rename, so the file appears whole or
// not at all. A path that is one of `inputs`, however spelt, is refused. Reports a failure and
// returns false.
bool writeOutput(CliContext& context, const std::string& path,
                 const std::vector<std::uint8_t>& bytes, const std::vector<std::string>& inputs);
