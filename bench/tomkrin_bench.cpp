// Times tomkrin's commands on the 64 KB demonstration tape, run in-process as the program runs
// them (files read and written in a temporary folder, output into memory). Prints the figures;
// judges nothing.
//   tomkrin_bench [FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/benchnote.h"
#include "core/picture/contactsheet.h"
#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"
#include "cli/tomkrin/tomkrin.h"
#include "core/tape/demotape.h"

namespace {

// The median of `rounds` runs, in milliseconds.
double medianMilliseconds(int rounds, const std::function<void()>& run) {
    run(); // warm-up: the built-in art is parsed on first use
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int tomkrin(const std::vector<std::string>& words) {
    std::vector<const char*> argv = {"tomkrin"};
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    std::ostringstream out, err;
    const int status = runTomkrin(static_cast<int>(argv.size()), argv.data(), out, err, false);
    if (status > 1)
        std::fprintf(stderr, "%s", err.str().c_str());
    return status;
}

double commandTime(int rounds, const std::vector<std::string>& words) {
    return medianMilliseconds(rounds, [&] { tomkrin(words); });
}

} // namespace

int main(int argc, char** argv) {
    warnIfSanitized();
    const std::string folder = argc > 1 ? argv[1] : ".";
    const std::string tape = folder + "/bench-demo.cas";
    const std::vector<std::uint8_t> bytes = makeDemoTape();
    std::ofstream(tape, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const std::string level = folder + "/bench-level05.bin";
    tomkrin({"extract", tape, "5", "-o", level});

    std::printf("info of a 64 KB tape: %.3f ms\n", commandTime(51, {"info", tape}));
    int fresh = 0;
    std::printf("extract all 20 levels into a new folder: %.3f ms\n", medianMilliseconds(21, [&] {
                    tomkrin({"extract", tape, "all", "-o",
                             folder + "/bench-new-" + std::to_string(fresh++)});
                }));
    // Each level file then replaces one of the run before, which the file system may flush first.
    std::printf("extract all 20 levels over existing files: %.3f ms\n",
                commandTime(21, {"extract", tape, "all", "-o", folder + "/bench-levels"}));
    std::printf("check of a level: %.3f ms\n", commandTime(51, {"check", level}));
    std::printf("render of a level: %.3f ms\n",
                commandTime(21, {"render", level, "-o", folder + "/bench-level.png"}));
    // Tiled maps: the tileset files beside the map are written by the first export only.
    for (const char* format : {"tmx", "json"}) {
        const std::string map = folder + "/bench-level05." + format;
        std::printf("export of a level to .%s: %.3f ms\n", format,
                    commandTime(51, {"export", level, "-o", map}));
        std::printf("import of a .%s map: %.3f ms\n", format,
                    commandTime(51, {"import", map, "-o", folder + "/bench-imported.bin"}));
    }
    std::printf("render of the 20-level sheet: %.3f ms\n",
                commandTime(11, {"render", tape, "-o", folder + "/bench-sheet.png"}));

    // The sheet's time split into drawing and PNG compression.
    std::vector<SheetEntry> entries(20);
    for (unsigned n = 0; n < 20; ++n)
        entries[n].level = makeDemoLevel(n);
    RgbImage sheet;
    std::printf("sheet drawing alone: %.3f ms\n",
                medianMilliseconds(11, [&] { sheet = renderContactSheet(entries); }));
    std::size_t pngSize = 0;
    std::printf("sheet PNG compression alone: %.3f ms\n",
                medianMilliseconds(11, [&] { pngSize = encodePng(sheet).size(); }));
    std::printf("sheet PNG size: %.1f KB\n", static_cast<double>(pngSize) / 1024.0);
    return 0;
}
