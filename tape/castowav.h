#pragma once
// Turning a tape image into audio with the cas2wav converter, and offering to play it.

// Asks for a tape image, starts cas2wav.exe (from the current directory) on it, with the doubled
// baud rate when `doubleSpeed` is set, and asks whether to play the result. On Yes it waits for
// the converter and opens the .wav file, or says why there is none. Returns 1 when the .wav file
// was opened, 0 otherwise.
int CasToWav();
