#include "core/picture/titletext.h"

#include <array>

#include "core/picture/builtinart.h"

namespace {

using GlyphPixels = std::array<std::uint8_t, kGlyphWidth * kGlyphHeight>;

GlyphPixels hollowBox() {
    GlyphPixels box{};
    for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < kGlyphWidth; ++col)
            box[row * kGlyphWidth + col] =
                row == 0 || row == kGlyphHeight - 1 || col == 0 || col == kGlyphWidth - 1;
    return box;
}

// The glyph of every byte value, the hollow box for those the font has none for.
const std::array<GlyphPixels, 256>& glyphTable() {
    static const std::array<GlyphPixels, 256> table = [] {
        std::array<GlyphPixels, 256> glyphs;
        glyphs.fill(hollowBox());
        for (const FontGlyph& glyph : builtInFont())
            glyphs[glyph.code & 0xFF] = glyph.pixels;
        return glyphs;
    }();
    return table;
}

} // namespace

int textWidth(const std::string& text, int scale) {
    return static_cast<int>(text.size()) * kCharAdvance * scale;
}

void drawText(RgbImage& image, int x, int y, const std::string& text, Rgb ink, int scale) {
    const std::array<GlyphPixels, 256>& glyphs = glyphTable();
    for (const char c : text) {
        const GlyphPixels& glyph = glyphs[static_cast<unsigned char>(c)];
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (glyph[row * kGlyphWidth + col])
                    image.fill(x + col * scale, y + row * scale, scale, scale, ink);
        x += kCharAdvance * scale;
    }
}
