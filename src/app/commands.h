// Command numbers (menu items, toolbar buttons, keyboard shortcuts) and control
// numbers of the main window. The two sets never overlap.
#pragma once

namespace qr {

// Commands.
inline constexpr int kCmdNew = 39;
inline constexpr int kCmdLoad = 40;
inline constexpr int kCmdSave = 41;
inline constexpr int kCmdQuit = 42;
inline constexpr int kCmdCut = 43;
inline constexpr int kCmdCopy = 44;
inline constexpr int kCmdPaste = 45;
inline constexpr int kCmdSenderFont = 46;
inline constexpr int kCmdAddresseeFont = 47;
inline constexpr int kCmdCheckUpdates = 48;
inline constexpr int kCmdAbout = 51;
inline constexpr int kCmdPrint = 54;
inline constexpr int kCmdPrintPreview = 55;
inline constexpr int kCmdDisableZipLookup = 58;
inline constexpr int kCmdPlaceAtTrueSize = 80;
// Options > Envelope Size: one command per size, in the order of EnvelopeSizes().
inline constexpr int kCmdEnvelopeSizeFirst = 81;
inline constexpr int kCmdEnvelopeSizeLast = 91;
inline constexpr int kCmdPrintAlignment = 92;
inline constexpr int kCmdImportContacts = 93;
inline constexpr int kCmdExportContacts = 94;
inline constexpr int kCmdEscape = 100;
// Options > Label Sheet: one command per sheet, in the order of LabelSheets().
inline constexpr int kCmdLabelSheetFirst = 110;
inline constexpr int kCmdLabelSheetLast = 115;
inline constexpr int kCmdPrintReturnLabels = 116;
inline constexpr int kCmdKeyF1 = 1000;
inline constexpr int kCmdKeyF2 = 2000;
inline constexpr int kCmdKeyF3 = 3000;
inline constexpr int kCmdKeyF4 = 4000;
inline constexpr int kCmdKeyF6 = 6000;
inline constexpr int kCmdKeyF8 = 8000;

}  // namespace qr
