#pragma once
// The report of several takes decoded together (core/audio/decoder/takes.h).
#include <ostream>
#include <string>
#include <vector>

#include "core/audio/decoder/takes.h"

// Writes, for each block, which takes held it and where, which bytes came from fewer than all
// takes and where takes disagreed (with `quiet`: only the bytes no take held whole), then the
// report of the combined tape (decodereport.h), naming each take by `names`. Returns whether the
// combined decode is clean.
bool reportTakes(const CombinedTape& tape, const std::vector<std::string>& names, bool quiet,
                 std::ostream& out);
