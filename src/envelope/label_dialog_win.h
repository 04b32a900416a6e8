// The "Print Labels" dialog: which label of the sheet a job starts at, with a picture of
// the sheet. While it is open its owner does nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "envelope/label_sheet.h"

namespace qr {

// Control numbers inside the dialog (OK and Cancel are IDOK and IDCANCEL).
inline constexpr int kStartLabelEditId = 101;

// Runs the dialog over `owner` for a job of `labels` labels on `sheet`. "Start at label:"
// holds "1"; the picture shows the labels before the start grey and numbers the labels of
// the first sheet the job fills. OK with a start that is not on the sheet tells the range
// and keeps the dialog open. Returns the start label, or nullopt for Cancel.
std::optional<std::int32_t> RunLabelStartDialog(HWND owner, const LabelSheet& sheet,
                                                std::int64_t labels);

}  // namespace qr
