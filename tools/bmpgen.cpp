// Turns the block pictures of the art text into the BMP files that the resource script links in.
// Usage: bmpgen <art file> <output folder>
#include "core/picture/blockart.h"

#include <fstream>
#include <iostream>

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: bmpgen <art file> <output folder>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "bmpgen: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<BlockArt> blocks;
    std::string error;
    if (!parseBlockArt(in, blocks, error)) {
        std::cerr << argv[1] << ": " << error << "\n";
        return 1;
    }
    for (const BlockArt& art : blocks) {
        const std::string path = std::string(argv[2]) + "/" + blockBmpFileName(art.bitmapId);
        if (!writeFile(path, encodeBlockBmp(art))) {
            std::cerr << "bmpgen: cannot write " << path << "\n";
            return 1;
        }
    }
    std::cout << "bmpgen: wrote " << blocks.size() << " bitmaps to " << argv[2] << "\n";
    return 0;
}
