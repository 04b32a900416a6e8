#include "base/file_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace qr {
namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qr_fs_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    folder_ = dir_.string() + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string folder_;
  FileSystem& fs_ = SystemFileSystem();
};

TEST_F(FileSystemTest, FileExistsInFolderIgnoresLetterCaseAndFolders) {
  ASSERT_TRUE(WriteFileAtomically(fs_, folder_ + "Qr.Inf", "x"));
  EXPECT_TRUE(fs_.FileExistsInFolder(folder_, "qr.inf"));
  EXPECT_TRUE(fs_.FileExistsInFolder(folder_, "QR.INF"));
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_, "qr.bak"));
  ASSERT_TRUE(fs_.CreateFolder(folder_ + "sub"));
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_, "sub"));
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_ + "missing/", "qr.inf"));
}

TEST_F(FileSystemTest, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
  const std::string path = folder_ + "book.adb";
  ASSERT_TRUE(WriteFileAtomically(fs_, path, "old\r\n"));
  ASSERT_TRUE(WriteFileAtomically(fs_, path, "new\r\n"));
  std::string bytes;
  ASSERT_TRUE(fs_.ReadFile(path, &bytes));
  EXPECT_EQ(bytes, "new\r\n");
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_, "book.adb.new"));
}

TEST_F(FileSystemTest, AtomicWriteIntoAMissingFolderFailsCleanly) {
  EXPECT_FALSE(WriteFileAtomically(fs_, folder_ + "nowhere/book.adb", "x"));
  std::string bytes;
  EXPECT_FALSE(fs_.ReadFile(folder_ + "nowhere/book.adb", &bytes));
}

TEST_F(FileSystemTest, ReadUpToALimitRefusesOnlyLargerFiles) {
  const std::string path = folder_ + "contacts.vcf";
  ASSERT_TRUE(WriteFileAtomically(fs_, path, std::string(70000, 'x')));
  std::string bytes = "earlier";
  EXPECT_EQ(fs_.ReadFileUpTo(path, 70000, &bytes), FileSystem::LimitedRead::kRead);
  EXPECT_EQ(bytes.size(), 70000u);
  EXPECT_EQ(fs_.ReadFileUpTo(path, 69999, &bytes), FileSystem::LimitedRead::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(fs_.ReadFileUpTo(folder_ + "missing.vcf", 10, &bytes),
            FileSystem::LimitedRead::kUnreadable);
}

}  // namespace
}  // namespace qr
