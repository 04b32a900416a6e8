// The two choose-font commands: the system font dialog preset from the stored values,
// and the answer stored under the variant's keys of the book settings.
// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include <cstring>
#include <optional>

#include "app/main_window_win.h"
#include "app/shell_commands_win.h"
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

int ScreenPixelsPerInchY() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// Shows the font dialog opened on `preset`; the user's choice, or nullopt on cancel.
std::optional<FontDialogChoice> AskForFont(Shell& shell, const FontDialogPreset& preset) {
  LOGFONTA font = {};
  font.lfHeight = preset.LogFontHeight(ScreenPixelsPerInchY());
  font.lfWeight = preset.weight;
  font.lfItalic = preset.italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(font.lfFaceName, preset.face.c_str(), LF_FACESIZE - 1);

  CHOOSEFONTA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetForegroundWindow();
  dialog.lpLogFont = &font;
  // Screen and printer fonts, opened on the preset; no effects (underline, strikeout,
  // colour cannot be chosen).
  dialog.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT;
  ++shell.modalDepth;
  const BOOL chosen = ChooseFontA(&dialog);
  --shell.modalDepth;
  if (!chosen) return std::nullopt;
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return FontDialogChoice{font.lfFaceName, dialog.iPointSize, static_cast<int>(font.lfWeight),
                          font.lfItalic != 0};
}

void RunFontChoice(Shell& shell, FontVariant variant) {
  const StoredFont stored = StoredFontFor(shell.startup.book, variant);
  FontValues values{*stored.face, *stored.size, *stored.style};
  ApplyFontDialogDefaults(variant, values);
  const FontValues remembered = values;
  values = FontValuesAfterDialog(remembered, AskForFont(shell, MakeFontDialogPreset(values)));
  *stored.face = values.face;
  *stored.size = values.size;
  *stored.style = values.style;
  SaveBookSettingsFromWindow(shell);
}

}  // namespace

void ChooseSenderFontCommand(Shell& shell) { RunFontChoice(shell, FontVariant::kSender); }
void ChooseAddresseeFontCommand(Shell& shell) { RunFontChoice(shell, FontVariant::kAddressee); }

}  // namespace qr
