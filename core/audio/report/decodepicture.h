#pragma once
// A decode's result drawn as people look at a recording: time across, a row per take with the
// signal's envelope, each block as a band named by its file, the problems marked in red where
// they lie, and the tape's speed block by block below, with a scale of seconds. With several
// takes each take's blocks carry the number of the image's block they went into, the red in a
// take's row is what that take lost, and a last row shows the image the takes gave together, its
// blocks and its problems, on the first take's time.
#include <string>

#include "core/audio/decoder/decoderecordings.h"
#include "core/picture/rgbimage.h"

// The picture's width; time runs across it, from 0 to the longest take's end.
constexpr int kDecodePictureWidth = 1200;

RgbImage decodePicture(const DecodeResult& result);

// The second of the recording at column `x` of the picture.
double decodePictureSeconds(const DecodeResult& result, int x);
