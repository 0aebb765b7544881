// Whole-file reading: sizes around the limit and the chunk size, files that
// are missing or are folders.
#include "base/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestu {
namespace {

class FileBytesTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() / (std::string("file_bytes_") + test->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Folder() const { return Utf8(folder_); }
  std::string Write(std::size_t size) {
    const std::filesystem::path path = folder_ / std::to_string(size);
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    for (std::size_t i = 0; i < size; ++i) std::fputc(int(i * 7 % 251), out);
    std::fclose(out);
    return Utf8(path);
  }
  static std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  std::filesystem::path folder_;
};

TEST_F(FileBytesTest, ReadsEveryByteOfFilesAroundTheChunkSize) {
  for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(65535), std::size_t(65536),
                           std::size_t(65537), std::size_t(3 * 65536 + 5)}) {
    const std::vector<unsigned char> bytes = ReadFileBytes(Write(size), 1 << 20);
    ASSERT_EQ(bytes.size(), size);
    for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(bytes[i], i * 7 % 251) << "byte " << i << " of " << size;
  }
}

TEST_F(FileBytesTest, AFileAtTheLimitIsReadAndOneByteMoreIsRefused) {
  EXPECT_EQ(ReadFileBytes(Write(65536), 65536).size(), 65536u);
  EXPECT_EQ(ReadFileBytes(Write(100), 100).size(), 100u);
  EXPECT_THROW(ReadFileBytes(Write(101), 100), std::runtime_error);
  EXPECT_THROW(ReadFileBytes(Write(65537), 65536), std::runtime_error);
}

TEST_F(FileBytesTest, MissingFilesAndFoldersAreNoFiles) {
  const std::string file = Write(3);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(Folder()));
  EXPECT_FALSE(FileExists(Folder() + "/missing"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_THROW(ReadFileBytes(Folder() + "/missing", 100), std::runtime_error);
}

}  // namespace
}  // namespace kestu
