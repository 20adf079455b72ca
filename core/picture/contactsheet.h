#pragma once
// A contact sheet: several levels side by side at half size, each with a caption under it.
#include <string>
#include <vector>

#include "core/picture/rgbimage.h"
#include "core/level/level.h"

struct SheetEntry {
    Level level;
    std::string caption; // e.g. "7 ICE PALACE"
};

constexpr int kSheetColumns = 4;

// The levels in rows of four, in order.
RgbImage renderContactSheet(const std::vector<SheetEntry>& entries);
