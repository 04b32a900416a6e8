// What the main window does with each event: the fixed order of checks that turns one
// user-interface event into actions, and the field hints. Platform-free, so the rules
// are tested without a window; the Win32 loop only carries the actions out.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qr {

// Main-window control numbers.
namespace ctl {
inline constexpr int kLogoBox = 0;
inline constexpr int kSenderName = 1;
inline constexpr int kSenderStreet = 2;
inline constexpr int kSenderCityStateZip = 3;
inline constexpr int kAddresseeName = 5;
inline constexpr int kAddresseeStreet = 6;
inline constexpr int kAddresseeSuite = 7;
inline constexpr int kAddresseeCity = 8;
inline constexpr int kAddresseeState = 9;
inline constexpr int kAddresseeZip = 10;
inline constexpr int kPrinterCombo = 11;
inline constexpr int kPrintButton = 12;
inline constexpr int kLookupButton = 13;
inline constexpr int kClearButton = 14;
inline constexpr int kSaveButton = 15;
inline constexpr int kDeleteButton = 16;
inline constexpr int kToCaption = 19;
inline constexpr int kVerticalCaption = 20;
inline constexpr int kHorizontalCaption = 21;
inline constexpr int kSenderColumnCaption = 22;
inline constexpr int kAddresseeColumnCaption = 23;
inline constexpr int kPrinterCaption = 25;
inline constexpr int kSenderVertical = 26;
inline constexpr int kSenderHorizontal = 27;
inline constexpr int kAddresseeVertical = 28;
inline constexpr int kAddresseeHorizontal = 29;
inline constexpr int kBlueHintName = 32;
inline constexpr int kBlueHintStreet = 33;
inline constexpr int kBlueHintSuite = 34;
inline constexpr int kBlueHintCityStateZip = 35;
inline constexpr int kHintLine = 36;
inline constexpr int kSenderFontButton = 52;
inline constexpr int kAddresseeFontButton = 53;
inline constexpr int kBookPathLine = 66;
inline constexpr int kCopiesCaption = 68;
inline constexpr int kLogoCaption = 69;
inline constexpr int kCopies = 71;
}  // namespace ctl

struct UiEvent {
  enum class Kind { kCommand, kControl, kCloseBox, kOther };
  enum class Action { kNone, kLeftClick, kTextChange, kFocusReceived, kFocusLost, kDoubleClick };

  Kind kind = Kind::kOther;
  int number = 0;  // command number or control number
  Action action = Action::kNone;
  bool mainWindow = true;  // the event belongs to the main window

  static UiEvent Command(int number) { return {Kind::kCommand, number, Action::kNone, true}; }
  static UiEvent Control(int number, Action action) {
    return {Kind::kControl, number, action, true};
  }
  static UiEvent CloseBox(bool mainWindow) {
    return {Kind::kCloseBox, 0, Action::kNone, mainWindow};
  }
  static UiEvent Other() { return {}; }
};

// What the shell must do, in the order given. The first four come from any event (in
// this order); of the others, at most one answers an event.
enum class ShellAction {
  kRecomputeNewEntryFlag,  // the addressee name changed: is the form a new entry?
  kSaveBookSettings,       // a sender line or position field lost the focus
  kShowHint,               // put HintText(state.shownHint) into the hint line
  kClearHint,              // the hint timed out (and the commands that empty the line)
  kChooseSenderFont,
  kChooseAddresseeFont,
  kToggleZipLookup,
  kZipAutoFill,
  kSaveAddressee,
  kClearAddressee,
  kPrint,
  kLookupAddressee,
  kChangeLogo,  // then the book settings are saved
  kDeleteRecord,
  kLoadBook,
  kNewBook,
  kImportContacts,
  kExportContacts,
  kPrintPreview,
  kTogglePlacement,
  kChooseEnvelopeSize,  // the size of the event's command number
  kPrintAlignment,
  kChooseLabelSheet,  // the sheet of the event's command number
  kPrintReturnLabels,
  kCut,
  kCopy,
  kPaste,
  kCheckForUpdates,
  kAbout,
  kToggleBlueHints,
  kQuit,
};

// The loop's own state that the checks read and change.
struct HintState {
  int shownHint = 0;           // 0 for none, else 1 to 13
  std::uint32_t hintTime = 0;  // millisecond clock at the last focus event
  bool zipLookupDisabled = false;
};

inline constexpr std::uint32_t kHintLifetimeMs = 10000;

// The hint number of a field (0 when it has none) and the text of hint 1 to 13.
int HintForControl(int control);
std::string_view HintText(int hint);

// Runs the checks for one event at clock `now` and returns the actions to carry out.
std::vector<ShellAction> DecideActions(const UiEvent& event, HintState& state, std::uint32_t now);

}  // namespace qr
