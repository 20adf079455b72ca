#pragma once
// Where the audio conversion sends the bytes it produces, in order.
#include <cstddef>
#include <cstdint>

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void write(const std::uint8_t* data, std::size_t size) = 0;
};
