#pragma once
// PNG files of rendered pictures.
#include <cstdint>
#include <vector>

#include "core/picture/rgbimage.h"

// The complete PNG file of `image` (8-bit RGB); empty if the encoder failed.
std::vector<std::uint8_t> encodePng(const RgbImage& image);
