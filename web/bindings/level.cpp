// The level file and the block catalogue for the page: a level travels as its 493-byte level file.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/level/blockcatalog.h"
#include "core/level/defaultlevel.h"
#include "core/level/levelcodec.h"

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

} // namespace

EMSCRIPTEN_BINDINGS(tk_level) {
    emscripten::function("defaultLevel", &defaultLevel);
    emscripten::function("blocks", &blocks);
    emscripten::function("blockIndexOfCode", &blockIndexOfCode);
}
