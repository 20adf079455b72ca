// Writes the demonstration tape image of core/tape/demotape.h.
// Usage: mkdemotape OUTPUT.cas
#include <fstream>
#include <iostream>

#include "core/tape/demotape.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mkdemotape OUTPUT.cas\n";
        return 2;
    }
    const std::vector<std::uint8_t> tape = makeDemoTape();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(tape.data()),
              static_cast<std::streamsize>(tape.size()));
    if (!out) {
        std::cerr << "mkdemotape: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
