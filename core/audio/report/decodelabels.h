#pragma once
// A decode's result as an Audacity label track, so that the recording opens with its places
// marked: a line "START<TAB>END<TAB>TEXT" (seconds) for every block, named by its file, and for
// every problem in the report's words. Labels are of the first take's recording.
#include <string>

#include "core/audio/decoder/decoderecordings.h"

std::string decodeLabels(const DecodeResult& result);
