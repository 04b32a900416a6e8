#include "names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/commands.h"
#include "app/event_rules.h"

namespace qr::e2e {
namespace {

struct Name {
  std::string_view name;
  long number;
};

// The ctl:: constants without their "k" and, for buttons, without "Button".
constexpr Name kControls[] = {
    {"LogoBox", ctl::kLogoBox},
    {"SenderName", ctl::kSenderName},
    {"SenderStreet", ctl::kSenderStreet},
    {"SenderCityStateZip", ctl::kSenderCityStateZip},
    {"AddresseeName", ctl::kAddresseeName},
    {"AddresseeStreet", ctl::kAddresseeStreet},
    {"AddresseeSuite", ctl::kAddresseeSuite},
    {"AddresseeCity", ctl::kAddresseeCity},
    {"AddresseeState", ctl::kAddresseeState},
    {"AddresseeZip", ctl::kAddresseeZip},
    {"PrinterCombo", ctl::kPrinterCombo},
    {"Print", ctl::kPrintButton},
    {"Lookup", ctl::kLookupButton},
    {"Clear", ctl::kClearButton},
    {"Save", ctl::kSaveButton},
    {"Delete", ctl::kDeleteButton},
    {"ToCaption", ctl::kToCaption},
    {"VerticalCaption", ctl::kVerticalCaption},
    {"HorizontalCaption", ctl::kHorizontalCaption},
    {"SenderColumnCaption", ctl::kSenderColumnCaption},
    {"AddresseeColumnCaption", ctl::kAddresseeColumnCaption},
    {"PrinterCaption", ctl::kPrinterCaption},
    {"SenderVertical", ctl::kSenderVertical},
    {"SenderHorizontal", ctl::kSenderHorizontal},
    {"AddresseeVertical", ctl::kAddresseeVertical},
    {"AddresseeHorizontal", ctl::kAddresseeHorizontal},
    {"BlueHintName", ctl::kBlueHintName},
    {"BlueHintStreet", ctl::kBlueHintStreet},
    {"BlueHintSuite", ctl::kBlueHintSuite},
    {"BlueHintCityStateZip", ctl::kBlueHintCityStateZip},
    {"HintLine", ctl::kHintLine},
    {"SenderFont", ctl::kSenderFontButton},
    {"AddresseeFont", ctl::kAddresseeFontButton},
    {"BookPathLine", ctl::kBookPathLine},
    {"CopiesCaption", ctl::kCopiesCaption},
    {"LogoCaption", ctl::kLogoCaption},
    {"Copies", ctl::kCopies},
};

// The kCmd constants without their "kCmd". The envelope sizes (kCmdEnvelopeSizeFirst to
// kCmdEnvelopeSizeLast, in the order of EnvelopeSizes()) and the label sheets (110 to 115,
// in the order of LabelSheets()) are given by number.
constexpr Name kCommands[] = {
    {"New", kCmdNew},
    {"Load", kCmdLoad},
    {"Save", kCmdSave},
    {"Quit", kCmdQuit},
    {"Cut", kCmdCut},
    {"Copy", kCmdCopy},
    {"Paste", kCmdPaste},
    {"SenderFont", kCmdSenderFont},
    {"AddresseeFont", kCmdAddresseeFont},
    {"CheckUpdates", kCmdCheckUpdates},
    {"About", kCmdAbout},
    {"Print", kCmdPrint},
    {"PrintPreview", kCmdPrintPreview},
    {"DisableZipLookup", kCmdDisableZipLookup},
    {"PlaceAtTrueSize", kCmdPlaceAtTrueSize},
    {"PrintAlignment", kCmdPrintAlignment},
    {"PrintReturnLabels", kCmdPrintReturnLabels},
    {"ImportContacts", kCmdImportContacts},
    {"ExportContacts", kCmdExportContacts},
    {"Escape", kCmdEscape},
    {"KeyF1", kCmdKeyF1},
    {"KeyF2", kCmdKeyF2},
    {"KeyF3", kCmdKeyF3},
    {"KeyF4", kCmdKeyF4},
    {"KeyF6", kCmdKeyF6},
    {"KeyF8", kCmdKeyF8},
};

template <size_t N>
bool LookUp(const Name (&table)[N], std::string_view name, long* number) {
  const auto found = std::find_if(std::begin(table), std::end(table),
                                  [&](const Name& n) { return n.name == name; });
  if (found == std::end(table)) return false;
  *number = found->number;
  return true;
}

// Which commands take a control or a command as their first argument, and the words
// they take there besides.
struct NamedArgument {
  std::string_view command;
  bool isCommand;
  std::array<std::string_view, 3> ownWords;
};

constexpr NamedArgument kNamedArguments[] = {
    {"set-text", false, {}},
    {"expect-text", false, {}},
    {"expect-visible", false, {}},
    {"expect-focus", false, {}},
    {"click", false, {}},
    {"double-click", false, {}},
    {"key", false, {"window", "focus"}},
    {"button", false, {}},
    {"notify", false, {}},
    {"screenshot", false, {"window", "client", "screen"}},
    {"expect-rows", false, {}},
    {"select-row", false, {}},
    {"double-click-row", false, {}},
    {"ctrl-click-row", false, {}},
    {"command", true, {}},
};

}  // namespace

bool LookUpControl(std::string_view name, long* number) { return LookUp(kControls, name, number); }

bool LookUpCommand(std::string_view name, long* number) { return LookUp(kCommands, name, number); }

std::string CheckNames(const std::vector<Command>& commands) {
  for (const Command& command : commands) {
    const auto named =
        std::find_if(std::begin(kNamedArguments), std::end(kNamedArguments),
                     [&](const NamedArgument& a) { return a.command == command.name; });
    if (named == std::end(kNamedArguments) || command.args.empty()) continue;
    const std::string& word = command.args.front();
    if (word.empty() || !std::isalpha(static_cast<unsigned char>(word.front()))) continue;
    if (std::find(named->ownWords.begin(), named->ownWords.end(), word) != named->ownWords.end())
      continue;  // the unused places are empty and never match
    long number = 0;
    if (named->isCommand ? LookUpCommand(word, &number) : LookUpControl(word, &number)) continue;
    return "line " + std::to_string(command.line) + ": unknown " +
           (named->isCommand ? "command" : "control") + " name \"" + word + "\"";
  }
  return "";
}

}  // namespace qr::e2e
