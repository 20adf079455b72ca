#include "core/levelsource/tapesheet.h"

#include <string>

#include "core/level/levelcodec.h"
#include "core/level/leveltitle.h"
#include "core/tape/levelslots.h"

namespace {

std::string sheetCaption(unsigned n, const Level& level) {
    std::string title = titleBytes(level);
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return std::to_string(n) + " " + title;
}

} // namespace

std::vector<SheetEntry> standardLevelSheet(const std::vector<std::uint8_t>& tape) {
    std::vector<SheetEntry> entries(kStandardLevelCount);
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        if (!tapeHoldsBodyAt(tape.size(), static_cast<std::size_t>(standardLevelOffset(n)))) {
            entries[n].caption = std::to_string(n) + " (not in the tape)";
            continue;
        }
        const LevelFileBytes file = extractStandardLevel(tape.data(), tape.size(), n);
        decodeLevel(file.data(), file.size(), entries[n].level);
        entries[n].caption = sheetCaption(n, entries[n].level);
    }
    return entries;
}
