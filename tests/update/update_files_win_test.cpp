// The downloaded installer is held open from hashing until it is started: meanwhile
// nobody can write, replace, rename or delete it, while reading it (as starting it does)
// still works.
#include "update/update_files_win.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "base/wide_text_win.h"
#include "update/update_download_win.h"

namespace qr {
namespace {

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

TEST(HeldFileTest, NothingCanChangeTheInstallerWhileItIsHeld) {
  char temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string folder =
      std::string(temp) + "qr-held-" + std::to_string(GetCurrentProcessId()) + "\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string path = folder + "setup.exe";
  const std::string other = folder + "other.exe";
  ASSERT_TRUE(WriteFileBytes(path, "abc"));
  ASSERT_TRUE(WriteFileBytes(other, "evil"));

  HeldFile held;
  Sha256Digest digest{};
  ASSERT_TRUE(held.OpenAndHash(path, &digest));
  const Sha256Digest abc = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40,
                            0xde, 0x5d, 0xae, 0x22, 0x23, 0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17,
                            0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
  EXPECT_EQ(digest, abc);  // SHA-256 of "abc"

  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_FALSE(MoveFileA(path.c_str(), (folder + "moved.exe").c_str()));
  EXPECT_FALSE(MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);

  held.Release();
  EXPECT_TRUE(MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));

  // A file that is not there is neither hashed nor held.
  EXPECT_FALSE(held.OpenAndHash(path, &digest));
}

// The installer's folder lets nobody else in (Wine adds the system account to every
// file, and keeps no mark of protection); folders of earlier checks go with their files.
TEST(DownloadFolderTest, IsPrivateAndRemovedWithItsFiles) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::string folder = Utf8(temp) + "qr-private-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreatePrivateFolder(folder));
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(Wide(folder).data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, nullptr, nullptr, &descriptor),
            DWORD(ERROR_SUCCESS));
  LPWSTR text = nullptr;
  ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
      descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
  const std::string dacl = Utf8(text);
  LocalFree(text);
  LocalFree(descriptor);
  for (const char* other : {";WD)", ";BU)", ";AU)", ";BA)"})
    EXPECT_EQ(dacl.find(other), dacl.npos) << dacl;

  ASSERT_TRUE(WriteFileBytes(folder + "\\setup.exe", "MZ"));
  RemoveFolderWithFiles(folder + "\\");
  EXPECT_EQ(GetFileAttributesW(Wide(folder).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace qr
