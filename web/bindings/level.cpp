// The level file, the block catalogue, the canvas's editing and its status texts.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/editor/canvasstatus.h"
#include "core/editor/hexnumber.h"
#include "core/editor/canvaspen.h"
#include "core/level/blockcatalog.h"
#include "core/level/defaultlevel.h"
#include "core/level/leveltitle.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

val defaultLevel() {
    return levelFileValue(makeDefaultLevel());
}

val blocks() {
    val list = val::array();
    for (int i = 0; i < kBlockCount; ++i) {
        val entry = val::object();
        entry.set("code", block[i].code);
        entry.set("name", std::string(block[i].name));
        list.call<void>("push", entry);
    }
    return list;
}

// -1 for a cell off the grid.
int cellCode(const val& levelFile, int col, int row) {
    return isOnGrid(col, row) ? levelOf(levelFile).cell(col, row) : -1;
}

// A cell off the grid is left alone, as the canvas ignores it.
val withCell(const val& levelFile, int col, int row, int code) {
    Level level = levelOf(levelFile);
    if (isOnGrid(col, row))
        level.cell(col, row) = code;
    return levelFileValue(level);
}

std::string buttonName(CanvasButton button) {
    return button == CanvasButton::Right ? "right" : "left";
}

// A click of the canvas's pen: the level it paints and the anchor after it.
val withClick(const val& levelFile, const std::string& button, int anchorCol, int anchorRow,
              int col, int row, int code) {
    Level level = levelOf(levelFile);
    CanvasPen pen{{anchorCol, anchorRow}};
    paintCells(level,
               pen.click(button == "right" ? CanvasButton::Right : CanvasButton::Left, {col, row}),
               code);
    val result = val::object();
    result.set("level", levelFileValue(level));
    val anchor = val::object();
    anchor.set("col", pen.anchor.col);
    anchor.set("row", pen.anchor.row);
    result.set("anchor", anchor);
    return result;
}

val clicksOfMoveValue(bool left, bool right) {
    val list = val::array();
    for (const CanvasButton click : clicksOfMove(left, right))
        list.call<void>("push", buttonName(click));
    return list;
}

val monsterValue(const Level& level, int k) {
    val monster = val::object();
    monster.set("startX", level.monster(k, kMonsterStartX));
    monster.set("startY", level.monster(k, kMonsterStartY));
    monster.set("endX", level.monster(k, kMonsterEndX));
    monster.set("endY", level.monster(k, kMonsterEndY));
    monster.set("direction", level.monster(k, kMonsterDirection));
    monster.set("type", level.monster(k, kMonsterType));
    monster.set("colour", level.monster(k, kMonsterColor));
    return monster;
}

// The title as bytes up to its first NUL, as the level options window shows it.
val levelFields(const val& levelFile) {
    const Level level = levelOf(levelFile);
    val fields = val::object();
    fields.set("title", bytesValue(storedTitle(level)));
    fields.set("startAddress", level.startAddress());
    fields.set("endAddress", level.endAddress());
    fields.set("execAddress", level.execAddress());
    fields.set("manStartX", level.manStartX());
    fields.set("manStartY", level.manStartY());
    val monsters = val::array();
    for (int k = 0; k < kMonsterCount; ++k)
        monsters.call<void>("push", monsterValue(level, k));
    fields.set("monsters", monsters);
    return fields;
}

unsigned parseHexText(const std::string& text) {
    return parseHex16(text.c_str());
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_level) {
    emscripten::function("defaultLevel", &defaultLevel);
    emscripten::function("blocks", &blocks);
    emscripten::function("blockIndexOfCode", &blockIndexOfCode);
    emscripten::function("cellCode", &cellCode);
    emscripten::function("withCell", &withCell);
    emscripten::function("withClick", &withClick);
    emscripten::function("clicksOfMove", &clicksOfMoveValue);
    emscripten::function("leftClickStatus", &leftClickStatus);
    emscripten::function("rightClickStatus", &rightClickStatus);
    emscripten::function("selectedBlockStatus", &selectedBlockStatus);
    emscripten::function("levelFields", &levelFields);
    emscripten::function("parseHex16", &parseHexText);
    emscripten::function("formatHex", &formatHex);
}
