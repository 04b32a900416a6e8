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
      {UiEvent::Command(kCmdSenderFont), {A::ChooseSenderFont}},
      {UiEvent::Control(ctl::kSenderFontButton, E::LeftClick), {A::ChooseSenderFont}},
      {UiEvent::Control(ctl::kAddresseeFontButton, E::LeftClick), {A::ChooseAddresseeFont}},
      {UiEvent::Command(kCmdAddresseeFont), {A::ChooseAddresseeFont}},
      {UiEvent::Command(kCmdKeyF4), {A::ClearHint, A::SaveAddressee}},
      {UiEvent::Command(kCmdSave), {A::ClearHint, A::SaveAddressee}},
      {UiEvent::Control(ctl::kSaveButton, E::LeftClick), {A::ClearHint, A::SaveAddressee}},
      {UiEvent::Control(ctl::kClearButton, E::LeftClick), {A::ClearAddressee}},
      {UiEvent::Command(kCmdKeyF6), {A::ClearHint, A::Print}},
      {UiEvent::Control(ctl::kPrintButton, E::LeftClick), {A::ClearHint, A::Print}},
      {UiEvent::Command(kCmdPrint), {A::ClearHint, A::Print}},
      {UiEvent::Command(kCmdKeyF3), {A::LookupAddressee}},
      {UiEvent::Control(ctl::kLookupButton, E::LeftClick), {A::LookupAddressee}},
      {UiEvent::Control(ctl::kLogoBox, E::DoubleClick), {A::ChangeLogo}},
      {UiEvent::Control(ctl::kLogoBox, E::LeftClick), {}},
      {UiEvent::Command(kCmdKeyF8), {A::ClearHint, A::DeleteRecord}},
      {UiEvent::Control(ctl::kDeleteButton, E::LeftClick), {A::ClearHint, A::DeleteRecord}},
      {UiEvent::Command(kCmdLoad), {A::LoadBook}},
      {UiEvent::Command(kCmdNew), {A::NewBook}},
      {UiEvent::Command(kCmdPrintPreview), {A::PrintPreview}},
      {UiEvent::Command(kCmdCut), {A::Cut}},
      {UiEvent::Command(kCmdCopy), {A::Copy}},
      {UiEvent::Command(kCmdPaste), {A::Paste}},
      {UiEvent::Command(kCmdCheckUpdates), {A::CheckForUpdates}},
      {UiEvent::Command(kCmdKeyF1), {A::ClearHint, A::About}},
      {UiEvent::Command(kCmdAbout), {A::ClearHint, A::About}},
      {UiEvent::Command(kCmdKeyF2), {A::ToggleBlueHints}},
      {UiEvent::Command(kCmdEscape), {A::Quit}},
      {UiEvent::Command(kCmdQuit), {A::Quit}},
      {UiEvent::CloseBox(true), {A::Quit}},
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
  EXPECT_EQ(Decide(UiEvent::Control(ctl::kAddresseeZip, E::FocusReceived), s, 500),
            std::vector<A>{A::ShowHint});
  EXPECT_EQ(s.shownHint, 4);
  EXPECT_EQ(HintText(4), "Zipcode - will autofill City/State if found in database");
  // Focus into the same field again: the hint is not shown anew, the clock restarts.
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kAddresseeZip, E::FocusReceived), s, 9000).empty());
  EXPECT_EQ(s.hintTime, 9000u);
  // Ten seconds exactly is not yet too old; one millisecond more is.
  EXPECT_TRUE(Decide(UiEvent::Other(), s, 19000).empty());
  EXPECT_EQ(Decide(UiEvent::Other(), s, 19001), std::vector<A>{A::ClearHint});
  EXPECT_EQ(s.shownHint, 0);
  // A control without a hint restarts the clock but shows nothing.
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kCopies, E::FocusReceived), s, 20000).empty());
  EXPECT_EQ(s.hintTime, 20000u);
}

TEST(EventRules, EveryHintedFieldHasItsText) {
  const int fields[] = {ctl::kAddresseeName,      ctl::kAddresseeStreet,  ctl::kAddresseeSuite,
                        ctl::kAddresseeZip,       ctl::kAddresseeCity,    ctl::kAddresseeState,
                        ctl::kSenderName,         ctl::kSenderStreet,     ctl::kSenderCityStateZip,
                        ctl::kSenderVertical,     ctl::kSenderHorizontal, ctl::kAddresseeVertical,
                        ctl::kAddresseeHorizontal};
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(HintForControl(fields[i]), i + 1);
    EXPECT_FALSE(HintText(i + 1).empty());
  }
  EXPECT_EQ(HintText(2),
            "ATTN: {Name} if Company Name used above otherwise enter #### Street Number");
  EXPECT_TRUE(HintText(0).empty());
  EXPECT_TRUE(HintText(14).empty());
}

TEST(EventRules, LeavingSenderAndPositionFieldsSavesSettings) {
  HintState s;
  for (int id :
       {ctl::kSenderName, ctl::kSenderStreet, ctl::kSenderCityStateZip, ctl::kSenderVertical,
        ctl::kSenderHorizontal, ctl::kAddresseeVertical, ctl::kAddresseeHorizontal}) {
    EXPECT_EQ(Decide(UiEvent::Control(id, E::FocusLost), s), std::vector<A>{A::SaveBookSettings});
  }
  EXPECT_TRUE(Decide(UiEvent::Control(ctl::kAddresseeName, E::FocusLost), s).empty());
  EXPECT_EQ(Decide(UiEvent::Control(ctl::kAddresseeName, E::TextChange), s),
            std::vector<A>{A::RecomputeNewEntryFlag});
}

TEST(EventRules, ZipSwitchDecidesWhetherLeavingTheZipFieldLooksUp) {
  HintState s;
  const UiEvent leaveZip = UiEvent::Control(ctl::kAddresseeZip, E::FocusLost);
  EXPECT_EQ(Decide(leaveZip, s), std::vector<A>{A::ZipAutoFill});
  EXPECT_EQ(Decide(UiEvent::Command(kCmdDisableZipLookup), s), std::vector<A>{A::ToggleZipLookup});
  EXPECT_TRUE(s.zipLookupDisabled);
  EXPECT_TRUE(Decide(leaveZip, s).empty());
  Decide(UiEvent::Command(kCmdDisableZipLookup), s);
  EXPECT_FALSE(s.zipLookupDisabled);
  EXPECT_EQ(Decide(leaveZip, s), std::vector<A>{A::ZipAutoFill});
}

TEST(EventRules, ClockWrapAroundDoesNotExpireAFreshHint) {
  HintState s;
  Decide(UiEvent::Control(ctl::kAddresseeName, E::FocusReceived), s, 0xFFFFFF00u);
  EXPECT_TRUE(Decide(UiEvent::Other(), s, 0x00000010u).empty());  // 0x110 ms later
  EXPECT_EQ(s.shownHint, 1);
}

}  // namespace
}  // namespace qr
