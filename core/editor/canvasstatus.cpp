#include "core/editor/canvasstatus.h"

#include "core/level/level.h"

#include <cstdio>

#include "core/level/blockcatalog.h"

namespace {

// Cells of an enlarged window have monster coordinates above 0xFF: "%02X" widens to fit them.
std::string cellStatus(const char* format, int col, int row) {
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(col), static_cast<unsigned>(row),
                  static_cast<unsigned>(monsterX(col)), static_cast<unsigned>(monsterY(row)));
    return text;
}

} // namespace

std::string leftClickStatus(int col, int row) {
    return cellStatus("(0x%02X,0x%02X) = Monster(0x%02X,0x%02X)", col, row);
}

std::string rightClickStatus(int col, int row) {
    return cellStatus("(0x%02X,0x%02X), Monster(0x%02X,0x%02X)", col, row);
}

std::string selectedBlockStatus(int blockIndex) {
    char text[96];
    std::snprintf(text, sizeof text, "%s = 0x%02X", block[blockIndex].name,
                  static_cast<unsigned>(block[blockIndex].code));
    return text;
}
