#pragma once
// Whether some bytes are a tape image at all, and the refusal of bytes that are none: the one
// check every front end makes of a file it was handed as a tape (cas2wav, tomkrin, the page).
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"

// Whether `bytes` are a tape image: they hold at least one block marker, at any offset.
bool isTapeImage(const std::vector<std::uint8_t>& bytes);

// False with {name, "not a tape image: it has no block marker"} when `bytes` are none.
bool checkTapeImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    FileFailure& failure);
