#include "app/settings.h"

#include <algorithm>
#include <string_view>

#include "base/file_system.h"

namespace qr {

namespace {

constexpr char kTitleComment[] = "Quarrane Initalization Information";

constexpr char kAddressbookKey[] = "Addressbook";
constexpr char kAddressbookDirectoryKey[] = "AddressbookDirectory";

constexpr char kSenderGroup[] = "Sender Address";
constexpr char kNameKey[] = "Name";
constexpr char kStreetKey[] = "Street";
constexpr char kCszKey[] = "CSZ";
constexpr char kReturnFontKey[] = "Return Font";
constexpr char kReturnSizeKey[] = "Return Size";
constexpr char kReturnStyleKey[] = "Return Style";
constexpr char kLogoFilenameKey[] = "Logo Filename";

constexpr char kPrinterGroup[] = "Printer Defaults";
constexpr char kDefaultPrinterKey[] = "Default Printer";
constexpr char kSenderHorizontalKey[] = "Sender Horizontal";
constexpr char kSenderVerticalKey[] = "Sender Vertical";
constexpr char kAddresseeHorizontalKey[] = "Addressee Horizontal";
constexpr char kAddresseeVerticalKey[] = "Addressee Vertical";
constexpr char kAddressFontKey[] = "Address Font";
constexpr char kAddressSizeKey[] = "Address Size";
constexpr char kAddressStyleKey[] = "Address Style";
constexpr char kPlacementKey[] = "Placement";
constexpr char kEnvelopeKey[] = "Envelope";
constexpr char kLabelSheetKey[] = "Label Sheet";

constexpr char kWindowGroup[] = "Windows Defaults";
constexpr char kWindowXKey[] = "WindowX";
constexpr char kWindowYKey[] = "WindowY";

void FillIfEmpty(std::string& value, const char* fallback) {
  if (value.empty()) value = fallback;
}

// Takes what WriteBookKeys writes as a list of values, in order; comments are left out.
class ValueList {
 public:
  void SelectGroup(std::string_view group) { group_ = group; }
  void WriteText(std::string_view key, std::string_view value) {
    values.push_back({group_, std::string(key), std::string(value)});
  }
  void WriteTextAfterLast(std::string_view key, std::string_view value) {
    values.push_back({group_, std::string(key), std::string(value), true});
  }
  void WriteNumber(std::string_view key, std::int32_t value) {
    WriteText(key, std::to_string(value));
  }
  void Comment(std::string_view) {}

  std::vector<SettingsValue> values;

 private:
  std::string group_;
};

// The keys of every group but Version, in file order, as both writers put them.
// `printer` is what goes into Default Printer. `Writer` is a PreferenceFile or a ValueList.
template <typename Writer>
void WriteBookKeys(Writer& pf, const std::string& bookFileName, const BookSettings& s,
                   const std::string& printer, bool withComments) {
  pf.SelectGroup(kAppGroup);
  pf.WriteText(kAddressbookKey, bookFileName);
  pf.WriteText(kAddressbookDirectoryKey, s.bookFolder);
  if (withComments) {
    pf.Comment("");
    pf.Comment("Sender Address associated with this addressbook");
  }
  pf.SelectGroup(kSenderGroup);
  pf.WriteText(kNameKey, s.senderName);
  pf.WriteText(kStreetKey, s.senderStreet);
  pf.WriteText(kCszKey, s.senderCsz);
  pf.WriteText(kReturnFontKey, s.returnFont);
  pf.WriteText(kReturnSizeKey, s.returnSize);
  pf.WriteText(kReturnStyleKey, s.returnStyle);
  pf.WriteText(kLogoFilenameKey, s.logoFilename);
  if (withComments) {
    pf.Comment("");
    pf.Comment("Printer setup");
  }
  pf.SelectGroup(kPrinterGroup);
  pf.WriteText(kDefaultPrinterKey, printer);
  pf.WriteNumber(kSenderHorizontalKey, s.senderHorizontal);
  pf.WriteNumber(kSenderVerticalKey, s.senderVertical);
  pf.WriteNumber(kAddresseeHorizontalKey, s.addresseeHorizontal);
  pf.WriteNumber(kAddresseeVerticalKey, s.addresseeVertical);
  pf.WriteText(kAddressFontKey, s.addressFont);
  pf.WriteText(kAddressSizeKey, s.addressSize);
  pf.WriteText(kAddressStyleKey, s.addressStyle);
  // Each right after the key before it, also when added to an older file.
  if (!s.placement.empty()) pf.WriteTextAfterLast(kPlacementKey, s.placement);
  if (!s.envelope.empty()) pf.WriteTextAfterLast(kEnvelopeKey, s.envelope);
  if (!s.labelSheet.empty()) pf.WriteTextAfterLast(kLabelSheetKey, s.labelSheet);
  if (withComments) {
    pf.Comment("");
    pf.Comment("Last position of window");
  }
  pf.SelectGroup(kWindowGroup);
  pf.WriteNumber(kWindowXKey, s.windowX);
  pf.WriteNumber(kWindowYKey, s.windowY);
}

// The values of `s` as the companion file holds them, with `printer` as Default Printer.
std::vector<SettingsValue> StoredValues(const std::string& bookFileName, const BookSettings& s,
                                        const std::string& printer) {
  ValueList list;
  WriteBookKeys(list, bookFileName, s, printer, /*withComments=*/false);
  return std::move(list.values);
}

bool SameKey(const SettingsValue& a, const SettingsValue& b) {
  return a.group == b.group && a.key == b.key;
}

// Whether this window changed `now` since it last read or wrote the file.
bool Changed(const std::vector<SettingsValue>& stored, const SettingsValue& now) {
  const auto was =
      std::find_if(stored.begin(), stored.end(), [&](const auto& v) { return SameKey(v, now); });
  return was == stored.end() || was->value != now.value;
}

}  // namespace

void WriteFirstRunAppSettings(PreferenceFile& pf, const std::string& path,
                              const std::string& dataFolder) {
  pf.Create(path);
  pf.Comment(kTitleComment);
  pf.Comment("");
  pf.SelectGroup(kAppGroup);
  pf.WriteText(kVersionKey, kProgramVersion);
  pf.WriteText(kCurrentAddressbookKey, "Addresses");
  pf.WriteText(kCurrentAddressbookDirectoryKey, dataFolder);
  pf.Close();
}

void WriteDefaultBookSettings(PreferenceFile& pf, const std::string& companionPath,
                              const std::string& bookFileName, BookSettings& s,
                              bool keepPositions) {
  s.senderName.clear();
  s.senderStreet.clear();
  s.senderCsz.clear();
  if (!keepPositions) {
    s.senderHorizontal = 0;
    s.senderVertical = 0;
    s.addresseeHorizontal = 0;
    s.addresseeVertical = 0;
  }
  // A book without settings of its own starts with the default placement and envelope,
  // whichever the book open before used.
  s.placement.clear();
  s.envelope.clear();
  s.stored.clear();
  const HeldLock lock = LockForChange(pf.Files(), companionPath);
  if (lock.status != LockStatus::kTaken) return;
  pf.Create(companionPath);
  pf.Comment(kTitleComment);
  pf.Comment("");
  pf.SelectGroup(kAppGroup);
  pf.WriteText(kVersionKey, kProgramVersion);
  WriteBookKeys(pf, bookFileName, s, "", /*withComments=*/true);
  if (pf.Close()) s.stored = StoredValues(bookFileName, s, "");
}

bool LoadBookSettings(PreferenceFile& pf, const std::string& companionPath,
                      const std::string& bookFileName, BookSettings& s) {
  if (!pf.Open(companionPath)) {
    WriteDefaultBookSettings(pf, companionPath, bookFileName, s, /*keepPositions=*/false);
    return false;
  }
  pf.SelectGroup(kAppGroup);
  HeldLock lock;
  if (pf.ReadText(kVersionKey, "") != kProgramVersion) {
    // Writing the version back is a change: made under the lock, on the file as it is then.
    lock = LockForChange(pf.Files(), companionPath);
    if (lock.status == LockStatus::kTaken && pf.Open(companionPath)) {
      pf.SelectGroup(kAppGroup);
      if (pf.ReadText(kVersionKey, "") != kProgramVersion) {
        pf.WriteText(kVersionKey, kProgramVersion);
      }
    }
  }
  s.bookFolder = pf.ReadText(kAddressbookDirectoryKey, "");

  pf.SelectGroup(kSenderGroup);
  s.senderName = pf.ReadText(kNameKey, "");
  s.senderStreet = pf.ReadText(kStreetKey, "");
  s.senderCsz = pf.ReadText(kCszKey, "");
  s.returnFont = pf.ReadText(kReturnFontKey, "");
  s.returnSize = pf.ReadText(kReturnSizeKey, "");
  s.returnStyle = pf.ReadText(kReturnStyleKey, "");
  s.logoFilename = pf.ReadText(kLogoFilenameKey, s.logoFilename);

  pf.SelectGroup(kPrinterGroup);
  s.defaultPrinter = pf.ReadText(kDefaultPrinterKey, "");
  s.senderVertical = pf.ReadNumber(kSenderVerticalKey, 0);
  s.senderHorizontal = pf.ReadNumber(kSenderHorizontalKey, 0);
  s.addresseeVertical = pf.ReadNumber(kAddresseeVerticalKey, 0);
  s.addresseeHorizontal = pf.ReadNumber(kAddresseeHorizontalKey, 0);
  s.addressFont = pf.ReadText(kAddressFontKey, "");
  s.addressSize = pf.ReadText(kAddressSizeKey, "");
  s.addressStyle = pf.ReadText(kAddressStyleKey, "");
  s.placement = pf.ReadText(kPlacementKey, "");
  s.envelope = pf.ReadText(kEnvelopeKey, "");
  s.labelSheet = pf.ReadText(kLabelSheetKey, "");

  pf.SelectGroup(kWindowGroup);
  s.windowX = pf.ReadNumber(kWindowXKey, 0);
  s.windowY = pf.ReadNumber(kWindowYKey, 0);

  // What the file holds for each key a save writes: a value this window shows otherwise
  // (a number written as "12abc", a renamed book file) counts as changed.
  s.stored.clear();
  for (SettingsValue v : StoredValues(bookFileName, s, s.defaultPrinter)) {
    pf.SelectGroup(v.group);
    if (!pf.HasKey(v.key)) continue;
    v.value = pf.ReadText(v.key, "");
    s.stored.push_back(std::move(v));
  }
  pf.Close();
  return true;
}

bool SaveBookSettings(PreferenceFile& pf, const std::string& companionPath,
                      const std::string& bookFileName, BookSettings& s, LockClock& clock) {
  FillIfEmpty(s.returnFont, "Arial");
  FillIfEmpty(s.returnSize, "12");
  FillIfEmpty(s.addressFont, "Arial");
  FillIfEmpty(s.addressSize, "14");
  const HeldLock lock = LockForChange(pf.Files(), companionPath, clock);
  if (lock.status != LockStatus::kTaken || !pf.Open(companionPath)) return false;
  // The file as it is now takes this window's changes; the other keys keep what they hold.
  // Every key is written, so that the whole file is saved in the program's own form
  // (" = ", CR LF, no blank lines, keys spelled as here) however it was found.
  std::vector<SettingsValue> now = StoredValues(bookFileName, s, s.defaultPrinter);
  pf.SelectGroup(kAppGroup);
  if (pf.HasKey(kVersionKey)) pf.WriteText(kVersionKey, pf.ReadText(kVersionKey, ""));
  for (const SettingsValue& v : now) {
    pf.SelectGroup(v.group);
    const bool kept = !Changed(s.stored, v) && pf.HasKey(v.key);
    const std::string value = kept ? pf.ReadText(v.key, "") : v.value;
    if (v.afterLast) {
      pf.WriteTextAfterLast(v.key, value);
    } else {
      pf.WriteText(v.key, value);
    }
  }
  if (!pf.Close()) return false;
  s.stored = std::move(now);
  return true;
}

void RememberCurrentBook(FileSystem& fs, PreferenceFile& pf, const std::string& dataFolder,
                         const std::string& bookName, const std::string& directory,
                         BookChange change) {
  if (!fs.FileExistsInFolder(dataFolder, "qr.inf")) return;
  const std::string path = dataFolder + "qr.inf";
  // Changed under its lock, as other windows may be changing it too.
  const HeldLock lock = LockForChange(fs, path);
  if (lock.status != LockStatus::kTaken) return;
  if (change == BookChange::kLoad) fs.Copy(path, dataFolder + "qr.bak");
  if (!pf.Open(path)) return;
  pf.SelectGroup(kAppGroup);
  if (change == BookChange::kLoad) pf.WriteText(kVersionKey, kProgramVersion);
  pf.WriteText(kCurrentAddressbookKey, bookName);
  pf.WriteText(kCurrentAddressbookDirectoryKey, directory);
  pf.Close();
}

}  // namespace qr
