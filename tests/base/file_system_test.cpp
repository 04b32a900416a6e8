#include "base/file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#ifdef _WIN32
#include "base/file_system_win.h"
#endif

namespace qr {
namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qr_fs_test_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
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

// The same on POSIX (flock) and on Windows (no sharing, delete on close).
TEST_F(FileSystemTest, ALockIsHeldOnceAndItsFileGoesWithIt) {
  const std::string path = folder_ + "book.adb.lock";
  LockAttempt first = fs_.TryLock(path);
  ASSERT_TRUE(first.lock);
  EXPECT_TRUE(fs_.FileExistsInFolder(folder_, "book.adb.lock"));
  const LockAttempt second = fs_.TryLock(path);
  EXPECT_FALSE(second.lock);
  EXPECT_TRUE(second.busy);
  first.lock.reset();
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_, "book.adb.lock"));

  // A lock file nobody holds, as a program that died can leave it on a share.
  ASSERT_TRUE(WriteFileAtomically(fs_, path, ""));
  LockAttempt again = fs_.TryLock(path);
  EXPECT_TRUE(again.lock);
  again.lock.reset();
  EXPECT_FALSE(fs_.FileExistsInFolder(folder_, "book.adb.lock"));

  const LockAttempt nowhere = fs_.TryLock(folder_ + "missing/book.adb.lock");
  EXPECT_FALSE(nowhere.lock);
  EXPECT_FALSE(nowhere.busy);
}

#ifdef _WIN32
// Two windows on one book: one holds it open, reading, while the other saves it. The
// save waits for the reader (who lets go at the first wait) and then replaces the file.
TEST_F(FileSystemTest, ASaveGoesThroughWhileAnotherWindowReadsTheFile) {
  struct ReaderClock final : LockClock {
    std::unique_ptr<void, decltype(&CloseHandle)> reader{INVALID_HANDLE_VALUE, &CloseHandle};
    std::chrono::milliseconds Now() override { return now; }
    void Sleep(std::chrono::milliseconds duration) override {
      now += duration;
      reader.reset();
    }
    std::chrono::milliseconds now{0};
  } clock;
  const std::string path = folder_ + "book.adb";
  ASSERT_TRUE(WriteFileAtomically(fs_, path, "old\r\n"));
  clock.reader.reset(OpenFileForReading(path));
  ASSERT_NE(clock.reader.get(), INVALID_HANDLE_VALUE);
  const std::unique_ptr<FileSystem> fs = WindowsFileSystem(clock);
  EXPECT_TRUE(WriteFileAtomically(*fs, path, "new\r\n"));
  std::string bytes;
  ASSERT_TRUE(fs_.ReadFile(path, &bytes));
  EXPECT_EQ(bytes, "new\r\n");
}
#endif

}  // namespace
}  // namespace qr
