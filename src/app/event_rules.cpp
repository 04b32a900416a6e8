#include "app/event_rules.h"

#include "app/commands.h"

namespace qr {

namespace {

constexpr std::string_view kHints[] = {
    "",
    "Enter Company Name or Addressee Name",
    "ATTN: {Name} if Company Name used above otherwise enter #### Street Number",
    "Suite, Apt #, Dept Name, or #### Street Name if ATTN: line used above",
    "Zipcode - will autofill City/State if found in database",
    "City name - should be autofilled if valid Zipcode entered",
    "State - 2 character US State abbreviation",
    "Enter YOUR name or Company name",
    "Enter YOUR street address",
    "Enter YOUR City, State, zipcode",
    "This is the Vertical (up/down) Location of the Sender Address",
    "This is the Horizontal (left/right) Location of the Sender Address",
    "This is the Vertical (up/down) Location of the TO Address",
    "This is the Horizontal (left/right) Location of the TO Address",
};

bool IsSenderSettingsField(int control) {
  switch (control) {
    case ctl::kSenderName:
    case ctl::kSenderStreet:
    case ctl::kSenderCityStateZip:
    case ctl::kSenderVertical:
    case ctl::kSenderHorizontal:
    case ctl::kAddresseeVertical:
    case ctl::kAddresseeHorizontal:
      return true;
    default:
      return false;
  }
}

}  // namespace

int HintForControl(int control) {
  switch (control) {
    case ctl::kAddresseeName:
      return 1;
    case ctl::kAddresseeStreet:
      return 2;
    case ctl::kAddresseeSuite:
      return 3;
    case ctl::kAddresseeZip:
      return 4;
    case ctl::kAddresseeCity:
      return 5;
    case ctl::kAddresseeState:
      return 6;
    case ctl::kSenderName:
      return 7;
    case ctl::kSenderStreet:
      return 8;
    case ctl::kSenderCityStateZip:
      return 9;
    case ctl::kSenderVertical:
      return 10;
    case ctl::kSenderHorizontal:
      return 11;
    case ctl::kAddresseeVertical:
      return 12;
    case ctl::kAddresseeHorizontal:
      return 13;
    default:
      return 0;
  }
}

std::string_view HintText(int hint) {
  return hint >= 1 && hint <= 13 ? kHints[hint] : std::string_view();
}

std::vector<ShellAction> DecideActions(const UiEvent& e, HintState& state, std::uint32_t now) {
  using A = UiEvent::Action;
  std::vector<ShellAction> out;
  const bool control = e.kind == UiEvent::Kind::kControl;
  const bool command = e.kind == UiEvent::Kind::kCommand;
  const auto clicked = [&](int number) {
    return control && e.number == number && e.action == A::kLeftClick;
  };
  const auto isCommand = [&](int number) { return command && e.number == number; };
  const auto clearHint = [&] {
    out.push_back(ShellAction::kClearHint);
    state.shownHint = 0;
  };

  // A change of the addressee name decides whether the form holds a new entry.
  if (control && e.number == ctl::kAddresseeName && e.action == A::kTextChange)
    out.push_back(ShellAction::kRecomputeNewEntryFlag);
  // Leaving a sender line or a position field saves the book settings.
  if (control && e.action == A::kFocusLost && IsSenderSettingsField(e.number))
    out.push_back(ShellAction::kSaveBookSettings);
  // A field receiving the focus shows its hint; every focus event restarts the clock.
  if (control && e.action == A::kFocusReceived) {
    const int hint = HintForControl(e.number);
    if (hint != 0 && hint != state.shownHint) {
      state.shownHint = hint;
      out.push_back(ShellAction::kShowHint);
    }
    state.hintTime = now;
  }
  // Every event: a hint older than ten seconds goes.
  if (static_cast<std::uint32_t>(now - state.hintTime) > kHintLifetimeMs && state.shownHint != 0)
    clearHint();

  // Then at most one of these matches an event.
  if (clicked(ctl::kSenderFontButton) || isCommand(kCmdSenderFont)) {
    out.push_back(ShellAction::kChooseSenderFont);
  } else if (clicked(ctl::kAddresseeFontButton) || isCommand(kCmdAddresseeFont)) {
    out.push_back(ShellAction::kChooseAddresseeFont);
  } else if (isCommand(kCmdDisableZipLookup)) {
    state.zipLookupDisabled = !state.zipLookupDisabled;
    out.push_back(ShellAction::kToggleZipLookup);
  } else if (control && e.number == ctl::kAddresseeZip && e.action == A::kFocusLost) {
    if (!state.zipLookupDisabled) out.push_back(ShellAction::kZipAutoFill);
  } else if (clicked(ctl::kSaveButton) || isCommand(kCmdKeyF4) || isCommand(kCmdSave)) {
    clearHint();
    out.push_back(ShellAction::kSaveAddressee);
  } else if (clicked(ctl::kClearButton)) {
    out.push_back(ShellAction::kClearAddressee);
  } else if (clicked(ctl::kPrintButton) || isCommand(kCmdKeyF6) || isCommand(kCmdPrint)) {
    clearHint();
    out.push_back(ShellAction::kPrint);
  } else if (clicked(ctl::kLookupButton) || isCommand(kCmdKeyF3)) {
    out.push_back(ShellAction::kLookupAddressee);
  } else if (control && e.number == ctl::kLogoBox && e.action == A::kDoubleClick) {
    out.push_back(ShellAction::kChangeLogo);
  } else if (clicked(ctl::kDeleteButton) || isCommand(kCmdKeyF8)) {
    clearHint();
    out.push_back(ShellAction::kDeleteRecord);
  } else if (isCommand(kCmdLoad)) {
    out.push_back(ShellAction::kLoadBook);
  } else if (isCommand(kCmdNew)) {
    out.push_back(ShellAction::kNewBook);
  } else if (isCommand(kCmdImportContacts)) {
    out.push_back(ShellAction::kImportContacts);
  } else if (isCommand(kCmdExportContacts)) {
    out.push_back(ShellAction::kExportContacts);
  } else if (isCommand(kCmdPrintPreview)) {
    out.push_back(ShellAction::kPrintPreview);
  } else if (isCommand(kCmdPlaceAtTrueSize)) {
    out.push_back(ShellAction::kTogglePlacement);
  } else if (command && e.number >= kCmdEnvelopeSizeFirst && e.number <= kCmdEnvelopeSizeLast) {
    out.push_back(ShellAction::kChooseEnvelopeSize);
  } else if (isCommand(kCmdPrintAlignment)) {
    out.push_back(ShellAction::kPrintAlignment);
  } else if (command && e.number >= kCmdLabelSheetFirst && e.number <= kCmdLabelSheetLast) {
    out.push_back(ShellAction::kChooseLabelSheet);
  } else if (isCommand(kCmdPrintReturnLabels)) {
    out.push_back(ShellAction::kPrintReturnLabels);
  } else if (isCommand(kCmdCut)) {
    out.push_back(ShellAction::kCut);
  } else if (isCommand(kCmdCopy)) {
    out.push_back(ShellAction::kCopy);
  } else if (isCommand(kCmdPaste)) {
    out.push_back(ShellAction::kPaste);
  } else if (isCommand(kCmdCheckUpdates)) {
    out.push_back(ShellAction::kCheckForUpdates);
  } else if (isCommand(kCmdKeyF1) || isCommand(kCmdAbout)) {
    clearHint();
    out.push_back(ShellAction::kAbout);
  } else if (isCommand(kCmdKeyF2)) {
    out.push_back(ShellAction::kToggleBlueHints);
  } else if (e.mainWindow && ((e.kind == UiEvent::Kind::kCloseBox) || isCommand(kCmdEscape) ||
                              isCommand(kCmdQuit))) {
    out.push_back(ShellAction::kQuit);
  }
  return out;
}

}  // namespace qr
