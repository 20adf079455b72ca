#pragma once
// A decode's result drawn as people look at a recording: time across, a row per take with the
// signal's envelope, each block as a band named by its file, the problems marked in red where
// they lie, and the tape's speed block by block below, with a scale of seconds.
#include <string>

#include "core/audio/decoder/decoderecordings.h"
#include "core/picture/rgbimage.h"

// The picture's width; time runs across it, from 0 to the longest take's end.
constexpr int kDecodePictureWidth = 1200;

RgbImage decodePicture(const DecodeResult& result);

// The second of the recording at column `x` of the picture.
double decodePictureSeconds(const DecodeResult& result, int x);
