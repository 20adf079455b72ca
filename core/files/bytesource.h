#pragma once
// Where a reader takes the bytes of an input from, a piece at a time and at any offset: a file on
// disk, bytes in memory, or whatever a caller hands over (a browser reads slices of a file). A
// reader that streams keeps only the pieces it works on, so an input of any length fits in memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The length of the input in bytes.
    virtual std::uint64_t size() const = 0;
    // Copies up to `count` bytes from `offset` into `out` and returns how many: fewer only at the
    // end of the input, or when reading failed (then `failure` says why).
    virtual std::size_t read(std::uint64_t offset, std::uint8_t* out, std::size_t count) = 0;
    // What went wrong in the last read that fell short of the end; empty when nothing did.
    virtual std::string failure() const { return ""; }
};

// Bytes that are already in memory.
class MemoryBytes : public ByteSource {
  public:
    MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    std::size_t read(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        if (offset >= size_)
            return 0;
        const std::size_t n = std::min<std::uint64_t>(count, size_ - offset);
        std::memcpy(out, data_ + offset, n);
        return n;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};
