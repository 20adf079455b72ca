#pragma once
// A decode's result as JSON, for programs that check a recording's decode: the verdict, each
// take, each block of the image (`start` and `end` in seconds of its recording, `offset` and
// `length` in bytes of the image, not counting its marker, the `file` it belongs to) and each
// problem (its `kind`, `offset` and `length` in bytes of the image, `start` and `end` in seconds,
// and the report's words for it). Every byte of the image that may be wrong lies in a problem.
#include <string>

#include "core/audio/decoder/decoderecordings.h"

// The JSON text, ending in a newline.
std::string decodeJson(const DecodeResult& result);

// The name a problem's kind has in the JSON: "lost", "unsure", "cut short", ...
const char* problemKindName(ProblemKind kind);
