#include "app/event_rules.h"

#include <gtest/gtest.h>

#include "app/commands.h"

namespace qr {
namespace {

using A = ShellAction;
using E = UiEvent::Action;

std::vector<A> Decide(const UiEvent& e, HintState& s, std::uint32_t now = 1000) {
  return DecideActions(e, s, now);
}

TEST(EventRules, EachCommandAndButtonMapsToItsAction) {
  struct Case {
    UiEvent event;
    std::vector<A> expected;
  } cases[] = {
      {UiEvent::Command(kCmdSenderFont), {A::kChooseSenderFont}},
      {UiEvent::Control(ctl::kSenderFontButton, E::kLeftClick), {A::kChooseSenderFont}},
      {UiEvent::Control(ctl::kAddresseeFontButton, E::kLeftClick), {A::kChooseAddresseeFont}},
      {UiEvent::Command(kCmdAddresseeFont), {A::kChooseAddresseeFont}},
      {UiEvent::Command(kCmdKeyF4), {A::kClearHint, A::kSaveAddressee}},
      {UiEvent::Command(kCmdSave), {A::kClearHint, A::kSaveAddressee}},
      {UiEvent::Control(ctl::kSaveButton, E::kLeftClick), {A::kClearHint, A::kSaveAddressee}},
      {UiEvent::Control(ctl::kClearButton, E::kLeftClick), {A::kClearAddressee}},
      {UiEvent::Command(kCmdKeyF6), {A::kClearHint, A::kPrint}},
      {UiEvent::Control(ctl::kPrintButton, E::kLeftClick), {A::kClearHint, A::kPrint}},
      {UiEvent::Command(kCmdPrint), {A::kClearHint, A::kPrint}},
      {UiEvent::Command(kCmdKeyF3), {A::kLookupAddressee}},
      {UiEvent::Control(ctl::kLookupButton, E::kLeftClick), {A::kLookupAddressee}},
      {UiEvent::Control(ctl::kLogoBox, E::kDoubleClick), {A::kChangeLogo}},
      {UiEvent::Control(ctl::kLogoBox, E::kLeftClick), {}},
      {UiEvent::Command(kCmdKeyF8), {A::kClearHint, A::kDeleteRecord}},
      {UiEvent::Control(ctl::kDeleteButton, E::kLeftClick), {A::kClearHint, A::kDeleteRecord}},
      {UiEvent::Command(kCmdLoad), {A::kLoadBook}},
      {UiEvent::Command(kCmdNew), {A::kNewBook}},
      {UiEvent::Command(kCmdImportContacts), {A::kImportContacts}},
      {UiEvent::Command(kCmdExportContacts), {A::kExportContacts}},
      {UiEvent::Command(kCmdPrintPreview), {A::kPrintPreview}},
      {UiEvent::Command(80), {A::kTogglePlacement}},
      {UiEvent::Command(81), {A::kChooseEnvelopeSize}},
      {UiEvent::Command(91), {A::kChooseEnvelopeSize}},
      {UiEvent::Command(92), {A::kPrintAlignment}},
      {UiEvent::Command(79), {}},
      {UiEvent::Command(95), {}},
      {UiEvent::Command(110), {A::kChooseLabelSheet}},
      {UiEvent::Command(115), {A::kChooseLabelSheet}},
      {UiEvent::Command(116), {A::kPrintReturnLabels}},
      {UiEvent::Command(117), {}},
      {UiEvent::Control(81, E::kLeftClick), {}},
      {UiEvent::Command(kCmdCut), {A::kCut}},
      {UiEvent::Command(kCmdCopy), {A::kCopy}},
      {UiEvent::Command(kCmdPaste), {A::kPaste}},
      {UiEvent::Command(kCmdCheckUpdates), {A::kCheckForUpdates}},
      {UiEvent::Command(kCmdKeyF1), {A::kClearHint, A::kAbout}},
      {UiEvent::Command(kCmdAbout), {A::kClearHint, A::kAbout}},
      {UiEvent::Command(kCmdKeyF2), {A::kToggleBlueHints}},
      {UiEvent::Command(kCmdEscape), {A::kQuit}},
      {UiEvent::Command(kCmdQuit), {A::kQuit}},
      {UiEvent::CloseBox(true), {A::kQuit}},
      {UiEvent::CloseBox(false), {}},
      {UiEvent::Command(5), {}},  // a control number is no command
      {UiEvent::Other(), {}},
  };
  for (const Case& c : cases) {
    HintState s;
    s.hintTime = 1000;
    EXPECT_EQ(Decide(c.event, s), c.expected) << "event number " << c.event.number;
  }
}

TEST(EventRules, FocusShowsEachHintOnceAndRestartsTheClock) {
  HintState s;
  EXPECT_EQ(Decide(UiEvent::Control(ctl::kAddresseeZip, E::kFocusReceived), s, 500),
            std::vector<A>{A::kShowHint});
  EXPECT_EQ(s.shownHint, 4);
  EXPECT_EQ(HintText(4), "Zipcode - will autofill City/State if found in database");
  // Focus into the same field again: the hint is not shown anew, the clock restarts.
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kAddresseeZip, E::kFocusReceived), s, 9000).empty());
  EXPECT_EQ(s.hintTime, 9000u);
  // Ten seconds exactly is not yet too old; one millisecond more is.
  EXPECT_TRUE(Decide(UiEvent::Other(), s, 19000).empty());
  EXPECT_EQ(Decide(UiEvent::Other(), s, 19001), std::vector<A>{A::kClearHint});
  EXPECT_EQ(s.shownHint, 0);
  EXPECT_TRUE(Decide(UiEvent::Other(), s, 30000).empty()) << "a cleared hint is not cleared again";
  // A control without a hint restarts the clock but shows nothing.
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kCopies, E::kFocusReceived), s, 20000).empty());
  EXPECT_EQ(s.hintTime, 20000u);
}

TEST(EventRules, FocusInEachFieldShowsThatFieldsHint) {
  // A word of each field's own hint: a hint shown for the wrong field shows up here,
  // whichever of the two tables behind it is wrong.
  const struct {
    int field;
    std::string_view words;
  } cases[] = {
      {ctl::kAddresseeName, "Addressee Name"},
      {ctl::kAddresseeStreet, "Street Number"},
      {ctl::kAddresseeSuite, "Suite, Apt"},
      {ctl::kAddresseeCity, "City name"},
      {ctl::kAddresseeState, "State - "},
      {ctl::kAddresseeZip, "Zipcode - "},
      {ctl::kSenderName, "YOUR name"},
      {ctl::kSenderStreet, "YOUR street"},
      {ctl::kSenderCityStateZip, "YOUR City"},
      {ctl::kSenderVertical, "Vertical (up/down) Location of the Sender"},
      {ctl::kSenderHorizontal, "Horizontal (left/right) Location of the Sender"},
      {ctl::kAddresseeVertical, "Vertical (up/down) Location of the TO"},
      {ctl::kAddresseeHorizontal, "Horizontal (left/right) Location of the TO"},
  };
  for (const auto& c : cases) {
    HintState s;
    ASSERT_EQ(Decide(UiEvent::Control(c.field, E::kFocusReceived), s), std::vector<A>{A::kShowHint})
        << "control " << c.field;
    EXPECT_NE(HintText(s.shownHint).find(c.words), std::string_view::npos)
        << "control " << c.field << " shows \"" << HintText(s.shownHint) << '"';
  }
  // Fields without a hint show none; numbers outside the hints have no text.
  for (int field : {ctl::kCopies, ctl::kPrinterCombo, ctl::kBookPathLine, ctl::kLogoBox}) {
    HintState s;
    EXPECT_TRUE(Decide(UiEvent::Control(field, E::kFocusReceived), s).empty()) << field;
  }
  EXPECT_TRUE(HintText(0).empty());
  EXPECT_TRUE(HintText(14).empty());
}

TEST(EventRules, LeavingSenderAndPositionFieldsSavesSettings) {
  HintState s;
  for (int id :
       {ctl::kSenderName, ctl::kSenderStreet, ctl::kSenderCityStateZip, ctl::kSenderVertical,
        ctl::kSenderHorizontal, ctl::kAddresseeVertical, ctl::kAddresseeHorizontal}) {
    EXPECT_EQ(Decide(UiEvent::Control(id, E::kFocusLost), s), std::vector<A>{A::kSaveBookSettings});
  }
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kAddresseeName, E::kFocusLost), s).empty());
  EXPECT_EQ(Decide(UiEvent::Control(ctl::kAddresseeName, E::kTextChange), s),
            std::vector<A>{A::kRecomputeNewEntryFlag});
}

TEST(EventRules, ZipSwitchDecidesWhetherLeavingTheZipFieldLooksUp) {
  HintState s;
  const UiEvent leaveZip = UiEvent::Control(ctl::kAddresseeZip, E::kFocusLost);
  EXPECT_EQ(Decide(leaveZip, s), std::vector<A>{A::kZipAutoFill});
  EXPECT_EQ(Decide(UiEvent::Command(kCmdDisableZipLookup), s), std::vector<A>{A::kToggleZipLookup});
  EXPECT_TRUE(s.zipLookupDisabled);
  EXPECT_TRUE(Decide(leaveZip, s).empty());
  Decide(UiEvent::Command(kCmdDisableZipLookup), s);
  EXPECT_FALSE(s.zipLookupDisabled);
  EXPECT_EQ(Decide(leaveZip, s), std::vector<A>{A::kZipAutoFill});
}

TEST(EventRules, ClockWrapAroundDoesNotExpireAFreshHint) {
  HintState s;
  Decide(UiEvent::Control(ctl::kAddresseeName, E::kFocusReceived), s, 0xFFFFFF00u);
  EXPECT_TRUE(Decide(UiEvent::Other(), s, 0x00000010u).empty());  // 0x110 ms later
  EXPECT_EQ(s.shownHint, 1);
}

}  // namespace
}  // namespace qr
