#include "core/files/filesource.h"

#include <cerrno>
#include <cstring>

#include "core/files/fileplatform.h"

namespace {

std::string systemReason(const char* fallback) {
    return errno != 0 ? std::strerror(errno) : fallback;
}

} // namespace

FileSource::~FileSource() {
    if (file_)
        std::fclose(file_);
}

bool FileSource::open(const std::string& path, std::string& why) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        why = systemReason("cannot be opened");
        return false;
    }
    errno = 0;
    if (!fileSize(file_, size_)) {
        why = systemReason("its size cannot be read");
        return false;
    }
    return true;
}

std::size_t FileSource::read(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    failure_.clear();
    if (!file_ || offset >= size_)
        return 0;
    errno = 0;
    if (offset != position_ && !seekFile(file_, offset)) {
        failure_ = systemReason("seek error");
        return 0;
    }
    const std::size_t got = std::fread(out, 1, count, file_);
    position_ = offset + got;
    if (got < count && std::ferror(file_)) {
        failure_ = systemReason("read error");
        std::clearerr(file_);
        position_ = ~std::uint64_t{0}; // unknown: the next read seeks
    }
    return got;
}
