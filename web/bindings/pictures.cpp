// The pictures of the page: the canvas, the palette's block pictures, Save picture.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/level/blockcatalog.h"
#include "core/picture/levelchunk.h"
#include "core/picture/levelrender.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

// The grid with the monsters' paths, as `tomkrin render` draws it above the title band.
val canvasImage(const val& levelFile) {
    return rgbaValue(renderLevelGrid(levelOf(levelFile)));
}

val blockImages() {
    val list = val::array();
    for (const BlockInfo& info : block)
        list.call<void>("push", rgbaValue(blockPicture(info.code)));
    return list;
}

val monsterPixel(int x, int y) {
    val pixel = val::object();
    pixel.set("px", monsterPixelX(x, kCellPixels));
    pixel.set("py", monsterPixelY(y, kCellPixels));
    return pixel;
}

val monsterOfPixel(double px, double py) {
    val position = val::object();
    position.set("x", static_cast<double>(monsterXAtPixel(px, kCellPixels)));
    position.set("y", static_cast<double>(monsterYAtPixel(py, kCellPixels)));
    return position;
}

// `tomkrin render LEVEL --scale N`, carrying the level; the scale kept within 1 to 16.
val renderLevelPng(const val& levelFile, int scale) {
    if (scale < 1)
        scale = 1;
    if (scale > kLargestRenderScale)
        scale = kLargestRenderScale;
    return bytesValue(levelPicturePng(levelOf(levelFile), scale));
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_pictures) {
    emscripten::function("canvasImage", &canvasImage);
    emscripten::function("blockImages", &blockImages);
    emscripten::function("monsterPixel", &monsterPixel);
    emscripten::function("monsterOfPixel", &monsterOfPixel);
    emscripten::function("renderLevelPng", &renderLevelPng);
}
