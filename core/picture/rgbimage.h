#pragma once
// A picture in memory: 8-bit red, green and blue per pixel, rows from the top.
#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t red, green, blue;
};

class RgbImage {
  public:
    RgbImage() = default;
    RgbImage(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    Rgb at(int x, int y) const;
    // Pixels outside the picture are left alone.
    void set(int x, int y, Rgb colour);
    void fill(int x, int y, int width, int height, Rgb colour);
    // Copies `from` with its top-left corner at (x, y), clipped to this picture.
    void paste(const RgbImage& from, int x, int y);

    // Every pixel as a `factor` x `factor` square.
    RgbImage enlarged(int factor) const;
    // Every 2 x 2 square as one pixel of their mean colour.
    RgbImage halved() const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};
