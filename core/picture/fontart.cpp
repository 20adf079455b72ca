#include "core/picture/fontart.h"

#include <set>

#include "core/level/hexdigit.h"
#include "core/picture/arttext.h"

namespace {

// "<two hex digits> <character or its name>"
bool parseHeader(const std::string& line, FontGlyph& glyph) {
    if (line.size() < 4 || line[2] != ' ')
        return false;
    const int high = upperHexDigitValue(line[0]);
    const int low = upperHexDigitValue(line[1]);
    if (high < 0 || low < 0)
        return false;
    glyph.code = high * 16 + low;
    return true;
}

bool parseRow(const std::string& line, int row, FontGlyph& glyph) {
    if (line.size() != kGlyphWidth)
        return false;
    for (int col = 0; col < kGlyphWidth; ++col) {
        if (line[col] != '#' && line[col] != '.')
            return false;
        glyph.pixels[row * kGlyphWidth + col] = line[col] == '#' ? 1 : 0;
    }
    return true;
}

} // namespace

bool parseFontArt(std::istream& in, std::vector<FontGlyph>& glyphs, std::string& error) {
    std::set<int> seenCodes;
    ArtTextReader text(in);
    std::string line;
    while (text.nextHeader(line)) {
        FontGlyph glyph;
        if (!parseHeader(line, glyph)) {
            error = text.error("expected \"<hex code> <character>\"");
            return false;
        }
        if (!seenCodes.insert(glyph.code).second) {
            error = text.error("code " + line.substr(0, 2) + " drawn twice");
            return false;
        }
        for (int row = 0; row < kGlyphHeight; ++row) {
            if (!text.nextRow(line)) {
                error = text.error("glyph ends early");
                return false;
            }
            if (!parseRow(line, row, glyph)) {
                error = text.error("expected 5 of '#' and '.'");
                return false;
            }
        }
        glyphs.push_back(glyph);
    }
    return true;
}
