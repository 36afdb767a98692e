// The engine's file reader on what is not a regular file (POSIX only: a
// FIFO and /dev/zero stand for what a path may name on any system).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "config/file_bytes.h"
#include "config/packed_lexicon.h"

namespace quillom {
namespace {

const std::string kDir = QUILLOM_TEST_DATA_DIR;
constexpr std::string_view kId = "50a5c6be7ff0b352";

// Only a regular file is opened: a FIFO would block the reader until some
// writer came, a device would never end.
TEST(PackedLexicon, ReadsOnlyRegularFilesUpToTheCap) {
    const auto dir = std::filesystem::temp_directory_path() / ("quillom-lexicon-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string fifo = (dir / "fifo.bin").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readWholeFile(fifo, 1000));
    EXPECT_FALSE(readWholeFile("/dev/zero", 1000));
    std::filesystem::create_symlink("/dev/zero", dir / "zero.bin");
    EXPECT_FALSE(PackedLexiconFile::load((dir / "zero.bin").string(), kId));
    std::filesystem::copy_file(kDir + "/small_lexicon.bin", dir / "copy.bin");
    EXPECT_TRUE(PackedLexiconFile::load((dir / "copy.bin").string(), kId));
    EXPECT_FALSE(readWholeFile((dir / "copy.bin").string(), 100));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillom
