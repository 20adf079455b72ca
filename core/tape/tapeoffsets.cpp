#include "core/tape/tapeoffsets.h"

int standardLevelOffset(unsigned level) {
    return kFirstStandardLevelOffset + kLevelBodySize * static_cast<int>(level);
}

unsigned previousStandardLevel(unsigned level) {
    return (level % kStandardLevelCount + kStandardLevelCount - 1) % kStandardLevelCount;
}

unsigned nextStandardLevel(unsigned level) {
    return (level % kStandardLevelCount + 1) % kStandardLevelCount;
}
