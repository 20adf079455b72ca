#include "core/files/stagedfile.h"

#include "core/files/fileplatform.h"

namespace {

constexpr std::size_t kBufferSize = 1 << 18;
// Other temporary files may lie beside the target (another conversion, or a crashed one): the
// first free name is taken.
constexpr int kTemporaryNameAttempts = 100;

// A short name in the target's folder: a name no longer than the target's keeps a path that is
// close to the system's length limit within it (the target's name plus a suffix would not).
std::string temporaryName(const std::string& target, int attempt) {
    const std::size_t separator = target.find_last_of("/\\:");
    const std::string folder =
        separator == std::string::npos ? "" : target.substr(0, separator + 1);
    return folder + "~" + std::to_string(attempt) + ".tmp";
}

} // namespace

StagedFile::~StagedFile() {
    discard();
}

bool StagedFile::open(const std::string& target) {
    discard();
    for (int attempt = 0; attempt < kTemporaryNameAttempts && !file_; ++attempt) {
        tempPath_ = temporaryName(target, attempt);
        file_ = createNewFile(tempPath_);
    }
    if (!file_) {
        tempPath_.clear();
        return false;
    }
    target_ = target;
    failed_ = false;
    buffer_.reserve(kBufferSize);
    return true;
}

void StagedFile::write(const std::uint8_t* data, std::size_t size) {
    if (buffer_.size() + size > kBufferSize)
        flush();
    if (size > kBufferSize) {
        failed_ = failed_ || !file_ || std::fwrite(data, 1, size, file_) != size;
        return;
    }
    buffer_.insert(buffer_.end(), data, data + size);
}

void StagedFile::flush() {
    if (!buffer_.empty() && !failed_ && file_)
        failed_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size();
    buffer_.clear();
}

bool StagedFile::commit() {
    if (!file_)
        return false;
    flush();
    // The bytes reach the disk before the name does, so a crash leaves the old file or the new.
    const bool synced = failed_ || syncFile(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !synced || !closed || !replaceFile(tempPath_, target_)) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
        return false;
    }
    tempPath_.clear();
    return true;
}

void StagedFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty())
        std::remove(tempPath_.c_str());
    tempPath_.clear();
}
