// Feeds any bytes to the level file decoder and checks what a loaded level must satisfy whatever
// the file held: every slot is set and within its file width, saving gives the file back (bar
// the identifier, with zeros where the file was short), and reloading gives the same level.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/level/levelcodec.h"

namespace {

void fail(const char* what, int index, long value) {
    std::fprintf(stderr, "level decoder: %s (index %d, value %ld)\n", what, index, value);
    std::abort();
}

constexpr int kHeaderSlots = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A level full of values no file can produce: a slot the decoder forgot shows up at once.
    Level level;
    std::memset(&level, 0xA5, sizeof level);
    decodeLevel(data, size, level);

    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::int32_t limit = slot < kHeaderSlots ? 0xFFFF : 0xFF;
        if (level.slots[slot] < 0 || level.slots[slot] > limit)
            fail("slot out of its file width", slot, level.slots[slot]);
    }

    const LevelFileBytes saved = encodeLevel(level);
    if (saved.size() != kLevelFileSize)
        fail("saved file has the wrong size", 0, static_cast<long>(saved.size()));
    if (saved[0] != kBloadId)
        fail("saved file does not start with the identifier", 0, saved[0]);
    for (std::size_t i = 1; i < kLevelFileSize; ++i) {
        const std::uint8_t expected = i < size ? data[i] : 0;
        if (saved[i] != expected)
            fail("saved byte differs from the loaded file", static_cast<int>(i), saved[i]);
    }

    Level again;
    std::memset(&again, 0x5A, sizeof again);
    decodeLevel(saved.data(), saved.size(), again);
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (again.slots[slot] != level.slots[slot])
            fail("reloading the saved file changed a slot", slot, again.slots[slot]);
    return 0;
}
