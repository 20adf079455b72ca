#pragma once
// Turning a tape image into audio with the converter, and offering to play it.
int CasToWav();
