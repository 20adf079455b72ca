#pragma once
// What the decoder's front ends say about a recording that gives no tape image.

// No block was heard: decodeTape gave none.
constexpr const char kNoTapeSignal[] = "no tape signal: no lead-in tone was heard";
