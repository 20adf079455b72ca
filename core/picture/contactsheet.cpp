#include "core/picture/contactsheet.h"

#include "core/picture/levelrender.h"
#include "core/picture/titletext.h"

namespace {

constexpr Rgb kSheetBackground = {0x28, 0x28, 0x30};
constexpr Rgb kCaptionInk = {0xFF, 0xFF, 0xFF};
constexpr int kGap = 8;
constexpr int kTileWidth = kGridWidth / 2;
constexpr int kTileHeight = kGridHeight / 2;
constexpr int kCaptionHeight = kLineHeight + 4;

} // namespace

RgbImage renderContactSheet(const std::vector<SheetEntry>& entries) {
    const int count = static_cast<int>(entries.size());
    const int rows = (count + kSheetColumns - 1) / kSheetColumns;
    const int cellWidth = kTileWidth + kGap, cellHeight = kTileHeight + kCaptionHeight + kGap;
    RgbImage sheet(kGap + kSheetColumns * cellWidth, kGap + rows * cellHeight, kSheetBackground);
    for (int i = 0; i < count; ++i) {
        const int left = kGap + (i % kSheetColumns) * cellWidth;
        const int top = kGap + (i / kSheetColumns) * cellHeight;
        sheet.paste(renderLevelGrid(entries[i].level).halved(), left, top);
        drawText(sheet, left, top + kTileHeight + 3, entries[i].caption, kCaptionInk, 1);
    }
    return sheet;
}
