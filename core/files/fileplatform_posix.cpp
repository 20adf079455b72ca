#include "core/files/fileplatform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* createNewFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file)
        ::close(fd);
    return file;
}

bool syncFile(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

// A read-only file is never replaced, as on Windows. A rename asks only the folder's leave, and
// root may write any file, so the target's own mode is asked: read-only is its owner's write bit
// clear, the bit that Windows' C library maps to the read-only attribute.
bool replaceFile(const std::string& from, const std::string& to) {
    struct stat target;
    if (::stat(to.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
        (target.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool fileSize(std::FILE* file, std::uint64_t& size) {
    struct stat status;
    if (::fstat(::fileno(file), &status) != 0)
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool seekFile(std::FILE* file, std::uint64_t offset) {
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}
