// The level options and monster options windows' fields.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/editor/hexnumber.h"
#include "core/editor/leveloptions.h"
#include "core/editor/monsteroptions.h"
#include "core/level/monstertables.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

// The titles go as bytes (Uint8Array) both ways, the other fields as strings.
val levelOptionsValue(const LevelOptionsFields& fields) {
    val value = val::object();
    value.set("start", fields.start);
    value.set("manX", fields.manX);
    value.set("manY", fields.manY);
    value.set("title", bytesValue(fields.title));
    return value;
}

LevelOptionsFields levelOptionsOf(const val& value) {
    const std::vector<std::uint8_t> title = bytesOf(value["title"]);
    return {value["start"].as<std::string>(), value["manX"].as<std::string>(),
            value["manY"].as<std::string>(), std::string(title.begin(), title.end())};
}

std::string textOf(const val& bytes) {
    const std::vector<std::uint8_t> text = bytesOf(bytes);
    return std::string(text.begin(), text.end());
}

val levelOptionsFieldsOf(const val& levelFile) {
    return levelOptionsValue(levelOptionsFields(levelOf(levelFile)));
}

val applyLevelOptions(const val& levelFile, const val& fields) {
    Level level = levelOf(levelFile);
    const std::string shown = saveLevelOptions(levelOptionsOf(fields), level);
    val result = val::object();
    result.set("level", levelFileValue(level));
    result.set("shownTitle", bytesValue(shown));
    result.set("status", std::string(kLevelOptionsSavedStatus));
    return result;
}

val centreTitle(const val& title) {
    return bytesValue(centredTitle(textOf(title)));
}

bool isHexNumberText(const std::string& text) {
    return isHexNumber(text.c_str());
}

std::string notHexNumberMessage() {
    return kNotHexNumber;
}

// The monster window's fields in the order of the level record, by the names the page gives them.
const char* const kFieldNames[kMonsterFields] = {"startX",    "startY", "endX",  "endY",
                                                 "direction", "type",   "colour"};

val monsterFieldsValue(const MonsterFieldTexts& fields) {
    val value = val::object();
    for (int field = 0; field < kMonsterFields; ++field)
        value.set(kFieldNames[field], fields[static_cast<std::size_t>(field)]);
    return value;
}

MonsterFieldTexts monsterFieldsOf(const val& value) {
    MonsterFieldTexts fields;
    for (int field = 0; field < kMonsterFields; ++field)
        fields[static_cast<std::size_t>(field)] = value[kFieldNames[field]].as<std::string>();
    return fields;
}

val selectMonsterOf(const val& levelFile, int k) {
    const MonsterSelection selection = selectMonster(levelOf(levelFile), k & 3);
    val value = val::object();
    value.set("fields", monsterFieldsValue(selection.fields));
    value.set("directionSelector", selection.directionButton);
    value.set("typeCursor", selection.typeCursor);
    value.set("colourCursor", selection.colourCursor);
    return value;
}

val applyMonster(const val& levelFile, int k, const val& fields) {
    Level level = levelOf(levelFile);
    saveMonster(monsterFieldsOf(fields), k & 3, level);
    return levelFileValue(level);
}

val clearedMonsterFieldsValue() {
    return monsterFieldsValue(clearedMonsterFields());
}

val monsterTypes() {
    val list = val::array();
    for (const MonsterType& type : mostro) {
        val entry = val::object();
        entry.set("label", std::string(type.label));
        entry.set("code", type.code);
        list.call<void>("push", entry);
    }
    return list;
}

val colours() {
    val list = val::array();
    for (const char* name : color)
        list.call<void>("push", std::string(name));
    return list;
}

// The cursors stay within their tables whatever the page hands over.
std::string monsterTypeFieldOf(int cursor) {
    return monsterTypeField(cursor >= 0 && cursor < kMonsterTypeCount ? cursor : 0);
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_options) {
    emscripten::function("levelOptionsFields", &levelOptionsFieldsOf);
    emscripten::function("applyLevelOptions", &applyLevelOptions);
    emscripten::function("centreTitle", &centreTitle);
    emscripten::function("isHexNumber", &isHexNumberText);
    emscripten::function("notHexNumberMessage", &notHexNumberMessage);
    emscripten::function("nextLevelStart", &nextLevelStart);
    emscripten::function("standardLevelStart", &standardLevelStart);
    emscripten::function("monsterTypes", &monsterTypes);
    emscripten::function("colours", &colours);
    emscripten::function("colourDescription", &colorDescription);
    emscripten::function("monsterTypeIndex", &monsterTypeIndex);
    emscripten::function("nextMonsterType", &nextMonsterType);
    emscripten::function("previousMonsterType", &previousMonsterType);
    emscripten::function("nextColour", &nextColor);
    emscripten::function("previousColour", &previousColor);
    emscripten::function("selectMonster", &selectMonsterOf);
    emscripten::function("monsterTypeField", &monsterTypeFieldOf);
    emscripten::function("colourField", &colourField);
    emscripten::function("applyMonster", &applyMonster);
    emscripten::function("clearedMonsterFields", &clearedMonsterFieldsValue);
}
