#pragma once
// The tape signal the decoder listens to: one channel of the recording, or both added, with any
// constant or slowly wandering offset (DC) taken out.
#include <vector>

#include "core/audio/wavreader.h"

enum class ChannelChoice { Best, Left, Right };

// For a stereo recording `Best` adds the two channels when they carry the same signal (subtracting
// one when it is inverted), which halves the noise that differs between them; otherwise it takes
// the louder channel, as one of them is then empty or carries something else.
std::vector<float> tapeSignal(const WavRecording& recording, ChannelChoice choice);
