#include "core/level/levelcodec.h"

namespace {

// Reads the file in order; values past the end read as zero bytes.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(size < kLevelFileSize ? size : kLevelFileSize) {}
    int32_t byte() { return pos_ < size_ ? data_[pos_++] : (pos_++, 0); }
    int32_t word() {
        int32_t low = byte();
        return low | (byte() << 8);
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class Writer {
  public:
    explicit Writer(LevelFileBytes& out) : out_(out) {}
    void byte(int32_t value) { out_[pos_++] = static_cast<std::uint8_t>(value & 0xFF); }
    void word(int32_t value) {
        byte(value);
        byte(value >> 8);
    }

  private:
    LevelFileBytes& out_;
    std::size_t pos_ = 0;
};

} // namespace

void decodeLevel(const std::uint8_t* data, std::size_t size, Level& level) {
    Reader in(data, size);
    in.byte(); // the identifier is not checked: any first byte loads
    level.startAddress() = in.word();
    level.endAddress() = in.word();
    level.execAddress() = in.word();
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            level.cell(col, row) = in.byte();
    for (int slot = kFirstTitleSlot; slot < kSlotCount; ++slot)
        level.slots[slot] = in.byte();
}

LevelFileBytes encodeLevel(const Level& level) {
    LevelFileBytes bytes{};
    Writer out(bytes);
    out.byte(kBloadId);
    out.word(level.startAddress());
    out.word(level.endAddress());
    out.word(level.execAddress());
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            out.byte(level.cell(col, row));
    for (int slot = kFirstTitleSlot; slot < kSlotCount; ++slot)
        out.byte(level.slots[slot]);
    return bytes;
}
