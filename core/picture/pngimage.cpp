#include "core/picture/pngimage.h"

// The one place the PNG encoder's code is compiled; its include folder is a system one, so its
// own warnings do not stop the build.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

std::vector<std::uint8_t> encodePng(const RgbImage& image) {
    std::vector<std::uint8_t> png;
    if (image.width() <= 0 || image.height() <= 0)
        return png;
    const int rowBytes = image.width() * 3;
    if (!stbi_write_png_to_func(appendBytes, &png, image.width(), image.height(), 3,
                                image.bytes().data(), rowBytes))
        png.clear();
    return png;
}
