#pragma once
// A file on disk read a piece at a time, for inputs too long to hold whole (a recording of a tape
// side is hundreds of megabytes). Sequential reads cost no seek.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/files/bytesource.h"

class FileSource : public ByteSource {
  public:
    FileSource() = default;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override;

    // Opens `path` for reading; on failure returns false with `why` saying what the system
    // reported ("No such file or directory").
    bool open(const std::string& path, std::string& why);

    std::uint64_t size() const override { return size_; }
    std::size_t read(std::uint64_t offset, std::uint8_t* out, std::size_t count) override;
    std::string failure() const override { return failure_; }

  private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    std::string failure_;
};
