#pragma once
// Between JavaScript values and the core's types: bytes as Uint8Array, levels as their level file,
// pictures as RGBA pixels. Conversion only: every rule stays in the core.
#include <emscripten/val.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"
#include "core/level/levelcodec.h"
#include "core/picture/rgbimage.h"

// A copy of `size` bytes as a new Uint8Array of the page's own (not a view into the module's
// memory, which moves when it grows).
inline emscripten::val bytesValue(const std::uint8_t* data, std::size_t size) {
    emscripten::val view(emscripten::typed_memory_view(size, data));
    emscripten::val copy = emscripten::val::global("Uint8Array").new_(size);
    copy.call<void>("set", view);
    return copy;
}

inline emscripten::val bytesValue(const std::vector<std::uint8_t>& bytes) {
    return bytesValue(bytes.data(), bytes.size());
}

inline emscripten::val bytesValue(const std::string& bytes) {
    return bytesValue(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The bytes of a Uint8Array (or any array of numbers), copied into the module's memory once.
inline std::vector<std::uint8_t> bytesOf(const emscripten::val& array) {
    return emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
}

// The level a level file's bytes load as (decodeLevel: as far as they go).
inline Level levelOf(const emscripten::val& levelFile) {
    const std::vector<std::uint8_t> bytes = bytesOf(levelFile);
    Level level{};
    decodeLevel(bytes.data(), bytes.size(), level);
    return level;
}

inline emscripten::val levelFileValue(const Level& level) {
    const LevelFileBytes file = encodeLevel(level);
    return bytesValue(file.data(), file.size());
}

// {width, height, data: Uint8ClampedArray of RGBA}, ready for an ImageData.
inline emscripten::val rgbaValue(const RgbImage& image) {
    const std::vector<std::uint8_t>& rgb = image.bytes();
    const std::size_t pixels = rgb.size() / 3;
    std::vector<std::uint8_t> rgba(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        rgba[i * 4] = rgb[i * 3];
        rgba[i * 4 + 1] = rgb[i * 3 + 1];
        rgba[i * 4 + 2] = rgb[i * 3 + 2];
        rgba[i * 4 + 3] = 0xFF;
    }
    emscripten::val view(emscripten::typed_memory_view(rgba.size(), rgba.data()));
    emscripten::val data = emscripten::val::global("Uint8ClampedArray").new_(rgba.size());
    data.call<void>("set", view);
    emscripten::val result = emscripten::val::object();
    result.set("width", image.width());
    result.set("height", image.height());
    result.set("data", data);
    return result;
}
