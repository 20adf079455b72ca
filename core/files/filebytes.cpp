#include "core/files/filebytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string systemReason(const char* fallback) {
    return errno != 0 ? std::strerror(errno) : fallback;
}

} // namespace

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& why) {
    bytes.clear();
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        why = systemReason("cannot be opened");
        return false;
    }
    std::uint8_t chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(file.get())) {
        why = systemReason("read error");
        return false;
    }
    return true;
}

std::string errnoReason() {
    return errno != 0 ? std::string(": ") + std::strerror(errno) : "";
}
