// The system's font dialog, opened on a preset.
#pragma once

#include <windows.h>

#include <optional>

#include "envelope/font_selection.h"

namespace qr {

// Shows the font dialog owned by `owner` (inside a ModalScope), opened on `preset`;
// the user's choice, or nullopt on cancel.
std::optional<FontDialogChoice> AskForFont(HWND owner, const FontDialogPreset& preset);

}  // namespace qr
