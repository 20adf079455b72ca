#pragma once
// An output file that appears only once it is complete: the bytes go to a new temporary file beside
// the target, which replaces the target on commit. Until then an existing target stays as it was,
// and a staged file that is not committed removes its temporary file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/files/bytesink.h"

class StagedFile : public ByteSink {
  public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile() override;

    // Creates the temporary file for `target`; false if none could be created.
    bool open(const std::string& target);
    // Buffers the bytes; a failed write is remembered and reported by commit.
    void write(const std::uint8_t* data, std::size_t size) override;
    // Writes what is left and puts the file in place of the target; false if any step failed,
    // in which case the temporary file is gone and the target untouched. A read-only target is
    // never replaced (errno EACCES).
    bool commit();

    const std::string& temporaryPath() const { return tempPath_; }

  private:
    void flush();
    void discard();

    std::FILE* file_ = nullptr;
    std::string target_;
    std::string tempPath_;
    std::vector<std::uint8_t> buffer_;
    bool failed_ = false;
};
