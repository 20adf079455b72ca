#include "core/picture/rgbimage.h"

RgbImage::RgbImage(int width, int height, Rgb background)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 3) {
    fill(0, 0, width, height, background);
}

Rgb RgbImage::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void RgbImage::set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    bytes_[i] = colour.red;
    bytes_[i + 1] = colour.green;
    bytes_[i + 2] = colour.blue;
}

void RgbImage::fill(int x, int y, int width, int height, Rgb colour) {
    for (int row = y; row < y + height; ++row)
        for (int col = x; col < x + width; ++col)
            set(col, row, colour);
}

void RgbImage::paste(const RgbImage& from, int x, int y) {
    for (int row = 0; row < from.height_; ++row)
        for (int col = 0; col < from.width_; ++col)
            set(x + col, y + row, from.at(col, row));
}

RgbImage RgbImage::enlarged(int factor) const {
    RgbImage big(width_ * factor, height_ * factor, {0, 0, 0});
    for (int row = 0; row < big.height_; ++row)
        for (int col = 0; col < big.width_; ++col)
            big.set(col, row, at(col / factor, row / factor));
    return big;
}

RgbImage RgbImage::halved() const {
    RgbImage small(width_ / 2, height_ / 2, {0, 0, 0});
    for (int row = 0; row < small.height_; ++row) {
        for (int col = 0; col < small.width_; ++col) {
            const Rgb a = at(2 * col, 2 * row), b = at(2 * col + 1, 2 * row);
            const Rgb c = at(2 * col, 2 * row + 1), d = at(2 * col + 1, 2 * row + 1);
            auto mean = [](int p, int q, int r, int s) {
                return static_cast<std::uint8_t>((p + q + r + s + 2) / 4);
            };
            small.set(col, row,
                      {mean(a.red, b.red, c.red, d.red), mean(a.green, b.green, c.green, d.green),
                       mean(a.blue, b.blue, c.blue, d.blue)});
        }
    }
    return small;
}
