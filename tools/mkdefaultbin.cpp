// Writes the default.bin that File > New loads: mkdefaultbin <path>.
#include <cstdio>

#include "core/level/levelcodec.h"
#include "core/level/defaultlevel.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkdefaultbin <path>\n");
        return 2;
    }
    const LevelFileBytes bytes = encodeLevel(makeDefaultLevel());
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
