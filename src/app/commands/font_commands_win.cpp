// The two choose-font commands: the font dialog preset from the stored values, and the
// answer stored under the variant's keys of the book settings.
#include <string>

#include "app/commands/commands_win.h"
#include "app/main_window_win.h"
#include "envelope/font_dialog_win.h"
#include "envelope/font_selection.h"

namespace qr {
namespace {

// The book settings fields that hold a variant's three values.
struct StoredFont {
  std::string* face;
  std::string* size;
  std::string* style;
};

StoredFont StoredFontFor(BookSettings& book, FontVariant variant) {
  if (variant == FontVariant::kSender)
    return {&book.returnFont, &book.returnSize, &book.returnStyle};
  return {&book.addressFont, &book.addressSize, &book.addressStyle};
}

void RunFontChoice(Shell& shell, FontVariant variant) {
  const StoredFont stored = StoredFontFor(shell.startup.book, variant);
  FontValues values{*stored.face, *stored.size, *stored.style};
  ApplyFontDialogDefaults(variant, values);
  const FontValues remembered = values;
  values =
      FontValuesAfterDialog(remembered, AskForFont(shell.mainWindow, MakeFontDialogPreset(values)));
  *stored.face = values.face;
  *stored.size = values.size;
  *stored.style = values.style;
  SaveBookSettingsFromWindow(shell);
}

}  // namespace

void ChooseSenderFontCommand(Shell& shell) { RunFontChoice(shell, FontVariant::kSender); }
void ChooseAddresseeFontCommand(Shell& shell) { RunFontChoice(shell, FontVariant::kAddressee); }

}  // namespace qr
