// Times the conversion of a 64 KB tape image to .wav against copying a file as large as the .wav
// it produces, in the same run and on the same disk. Prints the figures; judges nothing.
//   cas2wav_bench [WORK_DIRECTORY]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/benchnote.h"
#include "core/tape/casblocks.h"
#include "cli/cas2wav/cas2wavtool.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kImageSize = 64 * 1024;
constexpr int kRounds = 5;

// A binary file as a tape holds it: a padded header block, then one data block filling the image.
std::vector<std::uint8_t> makeTapeImage() {
    std::vector<std::uint8_t> image(kBlockMarker.begin(), kBlockMarker.end());
    image.insert(image.end(), kFileIdSize, kBinaryFileId);
    for (char c : std::string("BENCH "))
        image.push_back(static_cast<std::uint8_t>(c));
    image.insert(image.end(), kBlockMarker.begin(), kBlockMarker.end());
    std::mt19937 random(1234);
    while (image.size() < kImageSize)
        image.push_back(static_cast<std::uint8_t>(random()));
    return image;
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A plain buffered copy, as a program that writes its output in large pieces would do it.
bool copyFile(const fs::path& from, const fs::path& to) {
    std::FILE* in = std::fopen(from.string().c_str(), "rb");
    std::FILE* out = std::fopen(to.string().c_str(), "wb");
    bool ok = in && out;
    std::vector<char> buffer(1 << 18);
    std::size_t got;
    while (ok && (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
        ok = std::fwrite(buffer.data(), 1, got, out) == got;
    if (in)
        std::fclose(in);
    if (out)
        ok = std::fclose(out) == 0 && ok;
    return ok;
}

template <typename Action> double bestSeconds(Action action) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void benchmark(const fs::path& dir, const fs::path& cas, bool doubleSpeed) {
    const std::string input = cas.string();
    const std::string wav = (dir / "bench.wav").string();
    std::vector<const char*> argv = {"cas2wav", input.c_str(), wav.c_str()};
    if (doubleSpeed)
        argv.push_back("-2");
    std::ostringstream errors;
    int status = 0;
    const double convert = bestSeconds(
        [&] { status |= runCas2Wav(static_cast<int>(argv.size()), argv.data(), errors, errors); });
    if (status != 0) {
        std::cerr << "conversion failed: " << errors.str();
        return;
    }
    bool copied = true;
    const double copy = bestSeconds([&] { copied = copyFile(wav, dir / "copy.wav") && copied; });
    std::printf("%s baud: %zu bytes of tape -> %ju bytes of .wav\n", doubleSpeed ? "2400" : "1200",
                kImageSize, static_cast<std::uintmax_t>(fs::file_size(wav)));
    std::printf("  convert %8.2f ms   copy %8.2f ms%s   ratio %.2f\n", convert * 1e3, copy * 1e3,
                copied ? "" : " (copy failed)", convert / copy);
}

int run(const fs::path& base) {
    const fs::path dir = base / "cas2wav_bench.work";
    fs::create_directories(dir);
    const fs::path cas = dir / "bench.cas";
    writeFile(cas, makeTapeImage());
    std::printf("best of %d rounds each\n", kRounds);
    benchmark(dir, cas, false);
    benchmark(dir, cas, true);
    fs::remove_all(dir);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    warnIfSanitized();
    try {
        return run(argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cas2wav_bench: %s\n", e.what());
        return 1;
    }
}
