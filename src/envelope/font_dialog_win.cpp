// clang-format off
#include "envelope/font_dialog_win.h"
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include "base/wide_text_win.h"
#include "wingui/modal_win.h"
#include "wingui/window_win.h"

namespace qr {

std::optional<FontDialogChoice> AskForFont(HWND owner, const FontDialogPreset& preset) {
  LOGFONTW font = {};
  font.lfHeight = preset.LogFontHeight(ScreenPixelsPerInchY());
  font.lfWeight = preset.weight;
  font.lfItalic = preset.italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  Wide(preset.face).copy(font.lfFaceName, LF_FACESIZE - 1);

  CHOOSEFONTW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &font;
  // Screen and printer fonts, opened on the preset; no effects (underline, strikeout,
  // colour cannot be chosen).
  dialog.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT;
  ModalScope modal;
  if (!ChooseFontW(&dialog)) return std::nullopt;
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  return FontDialogChoice{Utf8(font.lfFaceName), dialog.iPointSize, static_cast<int>(font.lfWeight),
                          font.lfItalic != 0};
}

}  // namespace qr
