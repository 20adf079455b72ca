// The staged write's refusal of a read-only target, the same on every system.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

#include "core/files/stagedfile.h"
#include "tests/native/support/cas2wav_testing.h"

namespace fs = std::filesystem;
using cas2wav_testing::Bytes;
using cas2wav_testing::readFileBytes;
using cas2wav_testing::writeFileBytes;

// The mode decides, not who asks: root, who may write any file, is refused as well.
TEST(StagedFile, AReadOnlyTargetIsNeverReplacedAndAWritableOneIs) {
    const fs::path dir = fs::temp_directory_path() / ("stagedfile_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string target = (dir / "level.bin").string();
    const Bytes old = {1, 2, 3}, replacement = {4, 5, 6, 7};
    writeFileBytes(target, old);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    auto stage = [&] {
        StagedFile file;
        EXPECT_TRUE(file.open(target));
        file.write(replacement.data(), replacement.size());
        errno = 0;
        return file.commit();
    };
    EXPECT_FALSE(stage());
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(readFileBytes(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(stage());
    EXPECT_EQ(readFileBytes(target), replacement);
    fs::remove_all(dir);
}
