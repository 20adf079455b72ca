#pragma once
// One full turn in radians, 2 pi, for the encoder's filter and the decoder's tones and phases.
#include <cmath>

inline const double kTwoPi = 2.0 * std::acos(-1.0);
