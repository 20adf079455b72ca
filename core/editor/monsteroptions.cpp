#include "core/editor/monsteroptions.h"

#include "core/editor/hexnumber.h"
#include "core/level/monstertables.h"

namespace {

std::string hexField(int value) {
    return formatHex(static_cast<std::uint32_t>(value));
}

} // namespace

MonsterSelection selectMonster(const Level& level, int monster) {
    MonsterSelection selection;
    for (int field = 0; field < kMonsterFields; ++field)
        selection.fields[static_cast<std::size_t>(field)] = hexField(level.monster(monster, field));
    const int direction = level.monster(monster, kMonsterDirection);
    selection.directionButton = hasDirectionSelector(direction) ? direction : -1;
    selection.typeCursor = monsterTypeIndex(level.monster(monster, kMonsterType));
    selection.colourCursor = level.monster(monster, kMonsterColor);
    return selection;
}

std::string monsterTypeField(int typeCursor) {
    return hexField(mostro[typeCursor].code);
}

std::string colourField(int colourCursor) {
    return hexField(colourCursor);
}

MonsterFieldTexts clearedMonsterFields() {
    MonsterFieldTexts fields;
    fields.fill(hexField(kClearedMonsterValue));
    return fields;
}

void saveMonster(const MonsterFieldTexts& fields, int monster, Level& level) {
    for (int field = 0; field < kMonsterFields; ++field)
        level.monster(monster, field) = static_cast<std::int32_t>(
            parseHex16(fields[static_cast<std::size_t>(field)].c_str()) & 0xFF);
}
