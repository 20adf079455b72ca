#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/level/blockcatalog.h"

TEST(BlockCatalog, HoldsFortyFiveBlocksWithUniqueCodesButtonsAndBitmaps) {
    std::set<int> codes, buttons, bitmaps;
    std::set<std::string> names;
    for (const BlockInfo& entry : block) {
        codes.insert(entry.code);
        buttons.insert(entry.buttonId);
        bitmaps.insert(entry.bitmapId);
        names.insert(entry.name);
    }
    EXPECT_EQ(codes.size(), 45u);
    EXPECT_EQ(buttons.size(), 45u);
    EXPECT_EQ(bitmaps.size(), 45u);
    EXPECT_EQ(names.size(), 45u);
    EXPECT_EQ(codes.count(0), 0u) << "code 0 must belong to no block";
}

TEST(BlockCatalog, IndexOrderIsTheOneThePaletteAndTheImagesUse) {
    EXPECT_STREQ(block[0].name, "Air");
    EXPECT_EQ(block[2].code, 0x2D);
    EXPECT_EQ(block[2].buttonId, 406);
    EXPECT_EQ(block[2].bitmapId, 407);
    EXPECT_EQ(block[36].bitmapId, 115);
    EXPECT_EQ(block[37].bitmapId, 117);
    EXPECT_EQ(block[38].bitmapId, 116);
    EXPECT_EQ(block[39].code, 0x81);
    EXPECT_EQ(block[44].bitmapId, 123);
    EXPECT_EQ(blockIndexOfCode(0x81), 39);
    EXPECT_EQ(blockIndexOfCode(0x20), 0);
    EXPECT_EQ(blockIndexOfCode(0x00), -1);
    EXPECT_EQ(blockIndexOfCode(0x21), -1);
    EXPECT_EQ(blockIndexOfCode(0xFF), -1);
}
