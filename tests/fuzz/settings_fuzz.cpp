// Settings files: whatever a settings file holds, reading it, writing values into it and
// reading it again gives back the same values, and an address book's settings survive
// their own save and load unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings.h"
#include "base/preference_file.h"
#include "base/utf8.h"
#include "fuzz_check.h"
#include "support/memory_file_system.h"

namespace {

constexpr char kPath[] = "book.inf";

// The names the program uses, and a few that differ from them only in letter case.
constexpr std::array<const char*, 6> kGroups = {
    "Application", "Sender Address", "Printer Defaults", "Windows Defaults", "APPLICATION", ""};
constexpr std::array<const char*, 8> kKeys = {
    "Version", "Name", "Street", "Default Printer", "WindowX", "windowx", "Logo Filename", "CSZ"};

bool SameBookSettings(const qr::BookSettings& a, const qr::BookSettings& b) {
  return a.bookFolder == b.bookFolder && a.senderName == b.senderName &&
         a.senderStreet == b.senderStreet && a.senderCsz == b.senderCsz &&
         a.returnFont == b.returnFont && a.returnSize == b.returnSize &&
         a.returnStyle == b.returnStyle && a.logoFilename == b.logoFilename &&
         a.defaultPrinter == b.defaultPrinter && a.senderHorizontal == b.senderHorizontal &&
         a.senderVertical == b.senderVertical && a.addresseeHorizontal == b.addresseeHorizontal &&
         a.addresseeVertical == b.addresseeVertical && a.addressFont == b.addressFont &&
         a.addressSize == b.addressSize && a.addressStyle == b.addressStyle &&
         a.windowX == b.windowX && a.windowY == b.windowY;
}

// What reading back a written value gives: bytes that are no UTF-8 become U+FFFD, line
// breaks become blanks (a value is one line), and blanks and tabs around it are not kept.
std::string Stored(std::string value) {
  value = qr::ValidUtf8(value);
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const auto first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

// Every value of every known group and key, as the open file answers.
std::vector<std::string> Snapshot(qr::PreferenceFile& pf) {
  std::vector<std::string> values;
  for (const char* group : kGroups) {
    pf.SelectGroup(group);
    for (const char* key : kKeys) {
      values.push_back(pf.ReadText(key,
                                   "\x01"
                                   "absent"));
      values.push_back(std::to_string(pf.ReadNumber(key, -7)));
    }
  }
  return values;
}

void FuzzPreferenceFile(const std::string& file, FuzzedDataProvider& input) {
  qr::testing::MemoryFileSystem fs;
  fs.files[kPath] = file;
  qr::PreferenceFile pf(fs);
  QR_FUZZ_CHECK(pf.Open(kPath));
  const int operations = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < operations; ++i) {
    const char* group = kGroups[input.ConsumeIntegralInRange<std::size_t>(0, kGroups.size() - 1)];
    const char* key = kKeys[input.ConsumeIntegralInRange<std::size_t>(0, kKeys.size() - 1)];
    pf.SelectGroup(group);
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0: {
        const std::string value = input.ConsumeRandomLengthString(64);
        pf.WriteText(key, value);
        QR_FUZZ_CHECK(pf.ReadText(key, "\x01") == Stored(value));
        break;
      }
      case 1:
        pf.WriteNumber(key, input.ConsumeIntegral<std::int32_t>());
        break;
      default:
        pf.Comment(input.ConsumeRandomLengthString(32));
        break;
    }
  }
  const std::vector<std::string> before = Snapshot(pf);
  QR_FUZZ_CHECK(pf.Close());
  QR_FUZZ_CHECK(pf.Open(kPath));
  QR_FUZZ_CHECK(Snapshot(pf) == before);
  // Rewriting a value with what it reads keeps every value as it was.
  pf.SelectGroup("Application");
  if (const std::string version = pf.ReadText("Version", "\x01"); version != "\x01") {
    pf.WriteText("Version", version);
  }
  QR_FUZZ_CHECK(pf.Close());
  QR_FUZZ_CHECK(pf.Open(kPath));
  QR_FUZZ_CHECK(Snapshot(pf) == before);
  pf.Close();
}

void FuzzBookSettings(const std::string& file) {
  qr::testing::MemoryFileSystem fs;
  fs.files[kPath] = file;
  qr::PreferenceFile pf(fs);
  qr::BookSettings loaded;
  QR_FUZZ_CHECK(qr::LoadBookSettings(pf, kPath, "Addresses.adb", loaded));
  QR_FUZZ_CHECK(qr::SaveBookSettings(pf, kPath, "Addresses.adb", loaded));
  qr::BookSettings again;
  QR_FUZZ_CHECK(qr::LoadBookSettings(pf, kPath, "Addresses.adb", again));
  QR_FUZZ_CHECK(SameBookSettings(loaded, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string file = input.ConsumeRandomLengthString(4096);
  FuzzBookSettings(file);
  FuzzPreferenceFile(file, input);
  return 0;
}
