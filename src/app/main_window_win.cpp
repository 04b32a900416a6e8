#include "app/main_window_win.h"

#include <commctrl.h>

#include <iterator>

#include "app/commands.h"
#include "app/commands/commands_win.h"
#include "app/event_loop_win.h"
#include "app/printer_list_win.h"
#include "app/settings.h"
#include "app/startup_marks_win.h"
#include "base/number.h"
#include "base/wide_text_win.h"
#include "envelope/envelope_size.h"
#include "envelope/label_sheet.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kDefaultX = 250;
constexpr int kDefaultY = 200;
constexpr int kToolbarId = 0x7F00;  // outside the control and command numbers
constexpr COLORREF kBlueHintColour = RGB(0, 102, 255);
constexpr COLORREF kHintColour = RGB(255, 0, 0);

struct ToolButton {
  int image;  // standard toolbar image, or -1 for a separator
  int command;
  const wchar_t* tip;
};
constexpr ToolButton kToolButtons[] = {
    {STD_FILENEW, kCmdNew, L"New Addressbook"},
    {STD_FILEOPEN, kCmdLoad, L"Load Addressbook"},
    {STD_FILESAVE, kCmdSave, L"Save Addresses"},
    {-1, 0, nullptr},
    {STD_PRINT, kCmdPrint, L"Print"},
    {STD_PRINTPRE, kCmdPrintPreview, L"Print Preview"},
    {-1, 0, nullptr},
    {STD_CUT, kCmdCut, L"Cut"},
    {STD_COPY, kCmdCopy, L"Copy"},
    {STD_PASTE, kCmdPaste, L"Paste"},
    {-1, 0, nullptr},
    {STD_HELP, kCmdAbout, L"Help"},
};

const wchar_t* ToolTipFor(int command) {
  for (const ToolButton& b : kToolButtons)
    if (b.image >= 0 && b.command == command) return b.tip;
  return nullptr;
}

// The leading decimal number of a position field; no digits give 0.
std::int32_t LeadingDecimal(const std::string& text) {
  return static_cast<std::int32_t>(ReadDecimal64(text));
}

// The blue labels and the hint line: coloured, in fonts of their own.
bool IsColouredLabel(int id) {
  return (id >= ctl::kBlueHintName && id <= ctl::kBlueHintCityStateZip) || id == ctl::kHintLine;
}

// Makes the fonts of the blue labels and the hint line at the window's DPI.
void MakeColouredLabelFonts(Shell& shell) {
  shell.labelFont.reset(FontFromPoints(shell.mainWindow, "Times New Roman", 9, FW_BOLD, true));
  shell.hintFont.reset(FontFromPoints(shell.mainWindow, "Times New Roman", 11, FW_BOLD, false));
}

// Makes them anew and gives them to those controls, redrawn (after a change of DPI).
void RemakeColouredLabelFonts(Shell& shell) {
  MakeColouredLabelFonts(shell);
  for (int id = ctl::kBlueHintName; id <= ctl::kBlueHintCityStateZip; ++id) {
    SendDlgItemMessageW(shell.mainWindow, id, WM_SETFONT,
                        reinterpret_cast<WPARAM>(shell.labelFont.get()), TRUE);
  }
  SendDlgItemMessageW(shell.mainWindow, ctl::kHintLine, WM_SETFONT,
                      reinterpret_cast<WPARAM>(shell.hintFont.get()), TRUE);
}

HWND BuildToolbar(Shell& shell);

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Shell* shell = WindowState<Shell>(hwnd, msg, lp);
  switch (msg) {
    case WM_COMMAND:
      if (shell) {
        HandleEvent(*shell, EventFromCommand(*shell, wp, lp));
        return 0;
      }
      break;
    case WM_NOTIFY:
      if (shell) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->code == TTN_GETDISPINFOW) {
          auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
          if (const wchar_t* tip = ToolTipFor(static_cast<int>(hdr->idFrom)))
            info->lpszText = const_cast<wchar_t*>(tip);
          return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (shell) {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        if (IsColouredLabel(id)) {
          HDC dc = reinterpret_cast<HDC>(wp);
          SetTextColor(dc, id == ctl::kHintLine ? kHintColour : kBlueHintColour);
          SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
      }
      break;
    case WM_DPICHANGED:
      if (shell) {
        FollowDpiChange(hwnd, wp, lp);
        RemakeColouredLabelFonts(*shell);
        if (shell->toolbar) DestroyWindow(shell->toolbar);
        shell->toolbar = BuildToolbar(*shell);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The close box is a quit event; the window stays until shutdown has saved.
      if (shell) {
        HandleEvent(*shell, UiEvent::CloseBox(true));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The class is registered once; the icons are the system's shared copies (LR_SHARED),
// which are never destroyed, so a window rebuilt for every book change loads none anew.
bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW known = {};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(instance, Wide(kMainWindowClass).c_str(), &known)) return true;
  HICON small = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return RegisterFormWindowClass(instance, kMainWindowClass, MainWindowProc,
                                 LoadIconW(instance, MAKEINTRESOURCEW(1)), small);
}

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kCmdNew, L"&New");
  AppendMenuW(file, MF_STRING, kCmdLoad, L"&Load");
  AppendMenuW(file, MF_STRING, kCmdSave, L"&Save");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCmdImportContacts, L"Import Contacts...");
  AppendMenuW(file, MF_STRING, kCmdExportContacts, L"Export Contacts...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCmdPrint, L"&Print");
  AppendMenuW(file, MF_STRING, kCmdPrintPreview, L"Print Preview");
  AppendMenuW(file, MF_STRING, kCmdPrintAlignment, L"Print Alignment Envelope");
  AppendMenuW(file, MF_STRING, kCmdPrintReturnLabels, L"Print Return Labels");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCmdQuit, L"&Quit");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, kCmdCut, L"Cut");
  AppendMenuW(edit, MF_STRING, kCmdCopy, L"Copy");
  AppendMenuW(edit, MF_STRING, kCmdPaste, L"Paste");
  AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(edit, MF_STRING, kCmdSenderFont, L"Set Sender Font");
  AppendMenuW(edit, MF_STRING, kCmdAddresseeFont, L"Set To Font");
  HMENU options = CreatePopupMenu();
  AppendMenuW(options, MF_STRING | MF_UNCHECKED, kCmdDisableZipLookup, L"Disable Zipcode Lookup");
  AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(options, MF_STRING | MF_UNCHECKED, kCmdPlaceAtTrueSize, L"Place at True Size");
  HMENU sizes = CreatePopupMenu();
  int command = kCmdEnvelopeSizeFirst;
  for (const EnvelopeSize& size : EnvelopeSizes()) {
    const std::string name(size.name);
    AppendMenuW(sizes, MF_STRING, command++, Wide(name).c_str());
  }
  AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(sizes), L"Envelope Size");
  HMENU sheets = CreatePopupMenu();
  command = kCmdLabelSheetFirst;
  for (const LabelSheet& sheet : LabelSheets())
    AppendMenuW(sheets, MF_STRING, command++, Wide(sheet.menuText).c_str());
  AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(sheets), L"Label Sheet");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, kCmdCheckUpdates, L"Check for Updates");
  AppendMenuW(help, MF_STRING, kCmdAbout, L"About");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"Edit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"Options");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
  return bar;
}

HWND BuildToolbar(Shell& shell) {
  HWND tb =
      CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                      WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                      shell.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
                      shell.instance, nullptr);
  if (!tb) return nullptr;
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The system's 24-pixel images from 144 dpi on, rather than its 16-pixel ones stretched.
  const bool large = LayoutDpi(shell.mainWindow) >= 144;
  TBADDBITMAP standard = {HINST_COMMCTRL,
                          static_cast<UINT_PTR>(large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR)};
  if (large) SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(24, 24));
  SendMessageW(tb, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
  TBBUTTON buttons[std::size(kToolButtons)] = {};
  for (std::size_t i = 0; i < std::size(kToolButtons); ++i) {
    const ToolButton& b = kToolButtons[i];
    buttons[i].iBitmap = b.image < 0 ? 0 : b.image;
    buttons[i].idCommand = b.command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = b.image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  SendMessageW(tb, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessageW(tb, TB_AUTOSIZE, 0, 0);
  return tb;
}

// A control of the main window in the dialog font at the window's DPI, or for the blue
// labels and the hint line in theirs, given before the control shows.
HWND AddControl(Shell& shell, const char* cls, const char* text, DWORD style, int id, int x, int y,
                int w, int h, DWORD exStyle = 0) {
  style |= WS_CLIPSIBLINGS;
  if (!IsColouredLabel(id))
    return AddFormChild(shell.mainWindow, cls, text, style, id, x, y, w, h, exStyle);
  HFONT font = id == ctl::kHintLine ? shell.hintFont.get() : shell.labelFont.get();
  return AddChild(shell.mainWindow, cls, text, style, id, x, y, w, h, exStyle, font);
}

HWND AddEdit(Shell& shell, int id, int x, int y, int w, int h) {
  return AddControl(shell, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, id, x, y, w, h,
                    WS_EX_CLIENTEDGE);
}

HWND AddButton(Shell& shell, const char* text, int id, int x, int y, int w, int h) {
  return AddControl(shell, "BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, id, x, y, w, h);
}

HWND AddStatic(Shell& shell, const char* text, int id, int x, int y, int w, int h, DWORD align) {
  return AddControl(shell, "STATIC", text, align, id, x, y, w, h);
}

void FillPrinterCombo(Shell& shell) {
  PrinterList printers = ListPrinters();
  if (!printers.obtained) return;  // no printer list: no PrinterCombo
  HWND combo = AddControl(shell, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                          ctl::kPrinterCombo, 60, 235, 300, 200);
  std::string& stored = shell.startup.book.defaultPrinter;
  if (printers.names.size() == 1) stored = printers.names[0];
  int selected = 0;
  for (std::size_t i = 0; i < printers.names.size(); ++i) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(printers.names[i]).c_str()));
    if (printers.names[i] == stored) selected = static_cast<int>(i);  // the last match wins
  }
  if (!printers.names.empty()) SendMessageW(combo, CB_SETCURSEL, selected, 0);
}

}  // namespace

// The controls are made in a fixed order, which is also the order Tab goes through
// them: the sender lines, then the addressee's Name, Street, Suite and Zip before City
// and State, so that Tab from a typed ZIP lands in the City it filled in.
bool BuildMainWindow(Shell& shell, const std::string& title, int x, int y) {
  if (!RegisterMainWindowClass(shell.instance)) return false;
  // The window, sized so that the client area, below the menu bar, is 660 x 310.
  // The menu bar is made with the window (not set on it after, which lays out its frame
  // once more); the window owns it from then on, and DestroyWindow destroys it.
  const SIZE size = OuterSizeForClient(kMainClientWidth, kMainClientHeight, kMainStyle, true);
  HMENU menu = BuildMenuBar();
  shell.mainWindow = CreateWindowExW(0, Wide(kMainWindowClass).c_str(), Wide(title).c_str(),
                                     kMainStyle, x <= 0 ? kDefaultX : x, y <= 0 ? kDefaultY : y,
                                     size.cx, size.cy, nullptr, menu, shell.instance, &shell);
  if (!shell.mainWindow) {
    DestroyMenu(menu);
    return false;
  }
  StartupMark("window_created");

  // Toolbar, keyboard shortcuts.
  shell.toolbar = BuildToolbar(shell);
  ACCEL keys[] = {{FVIRTKEY, VK_ESCAPE, kCmdEscape}, {FVIRTKEY, VK_F1, kCmdKeyF1},
                  {FVIRTKEY, VK_F2, kCmdKeyF2},      {FVIRTKEY, VK_F3, kCmdKeyF3},
                  {FVIRTKEY, VK_F4, kCmdKeyF4},      {FVIRTKEY, VK_F6, kCmdKeyF6},
                  {FVIRTKEY, VK_F8, kCmdKeyF8}};
  shell.accelerators.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));

  MakeColouredLabelFonts(shell);

  // Logo box and its caption, the sender and addressee fields.
  AddControl(shell, "STATIC", "", SS_BITMAP | SS_NOTIFY | SS_SUNKEN | SS_CENTERIMAGE, ctl::kLogoBox,
             5, 32, 100, 100);
  AddStatic(shell,
            "Double Click image/ box above to change logo\nNOTE: Cancelling file dialog will "
            "delete current logo",
            ctl::kLogoCaption, 5, 137, 120, 98, SS_LEFT);
  AddEdit(shell, ctl::kSenderName, 110, 32, 210, 20);
  AddEdit(shell, ctl::kSenderStreet, 110, 53, 210, 20);
  AddEdit(shell, ctl::kSenderCityStateZip, 110, 74, 210, 20);
  AddEdit(shell, ctl::kAddresseeName, 330, 110, 230, 20);
  AddEdit(shell, ctl::kAddresseeStreet, 330, 131, 230, 20);
  AddEdit(shell, ctl::kAddresseeSuite, 330, 152, 230, 20);
  AddEdit(shell, ctl::kAddresseeZip, 490, 173, 70, 20);
  AddEdit(shell, ctl::kAddresseeCity, 330, 173, 130, 20);
  AddEdit(shell, ctl::kAddresseeState, 460, 173, 30, 20);

  // The printer choice: its caption here, PrinterCombo from FinishMainWindow.
  AddStatic(shell, "Printer", ctl::kPrinterCaption, 10, 237, 40, 20, SS_RIGHT);

  // Print, copies and the record buttons.
  AddButton(shell, "Print", ctl::kPrintButton, 570, 230, 80, 30);
  AddStatic(shell, "Number Copies", ctl::kCopiesCaption, 370, 237, 80, 20, SS_RIGHT);
  AddControl(shell, "EDIT", "1", WS_TABSTOP | ES_AUTOHSCROLL, ctl::kCopies, 460, 237, 40, 20,
             WS_EX_CLIENTEDGE);
  AddButton(shell, "...", ctl::kLookupButton, 570, 106, 30, 20);
  AddButton(shell, "Clear", ctl::kClearButton, 610, 106, 40, 20);
  AddButton(shell, "Save", ctl::kSaveButton, 570, 133, 30, 20);
  AddButton(shell, "Delete", ctl::kDeleteButton, 610, 133, 40, 20);

  // Captions, blue hint labels, hint line, book path, position fields.
  AddStatic(shell, "TO:", ctl::kToCaption, 307, 90, 40, 20, SS_RIGHT);
  const struct {
    int id, y;
    const char* text;
  } labels[] = {{ctl::kBlueHintName, 113, "Name"},
                {ctl::kBlueHintStreet, 135, "Street Address/Attn:"},
                {ctl::kBlueHintSuite, 155, "Optional Suite, Apt"},
                {ctl::kBlueHintCityStateZip, 175, "City, State, Zipcode"}};
  for (const auto& l : labels) AddStatic(shell, l.text, l.id, 185, l.y, 140, 20, SS_RIGHT);
  // The hint line and the book path line come with FinishMainWindow.
  AddStatic(shell, "Vertical Locations", ctl::kVerticalCaption, 378, 35, 110, 20, SS_RIGHT);
  AddStatic(shell, "Horizontal Locations", ctl::kHorizontalCaption, 378, 65, 110, 20, SS_RIGHT);
  AddStatic(shell, "Sender", ctl::kSenderColumnCaption, 502, 52, 50, 20, SS_LEFT);
  AddStatic(shell, "Addressee", ctl::kAddresseeColumnCaption, 573, 52, 50, 20, SS_LEFT);
  AddEdit(shell, ctl::kSenderVertical, 490, 32, 60, 20);
  AddEdit(shell, ctl::kSenderHorizontal, 490, 65, 60, 20);
  AddEdit(shell, ctl::kAddresseeVertical, 570, 32, 60, 20);
  AddEdit(shell, ctl::kAddresseeHorizontal, 570, 65, 60, 20);

  // The font buttons; the ZIP look-up starts enabled.
  AddButton(shell, "Set Sender Font", ctl::kSenderFontButton, 110, 100, 90, 30);
  CheckMenuItem(GetMenu(shell.mainWindow), kCmdDisableZipLookup, MF_BYCOMMAND | MF_UNCHECKED);
  shell.hints.zipLookupDisabled = false;
  AddButton(shell, "Set To Font", ctl::kAddresseeFontButton, 570, 160, 80, 30);
  shell.blueHintsShown = true;

  StartupMark("controls_made");
  ShowWindow(shell.mainWindow, SW_SHOWNORMAL);
  UpdateWindow(shell.mainWindow);
  return true;
}

void FinishMainWindow(Shell& shell) {
  const auto placeAfter = [&shell](HWND control, int previous) {
    if (control) {
      SetWindowPos(control, GetDlgItem(shell.mainWindow, previous), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  };
  placeAfter(AddStatic(shell, "", ctl::kHintLine, 150, 200, 500, 20, SS_LEFT),
             ctl::kBlueHintCityStateZip);
  placeAfter(AddStatic(shell, "", ctl::kBookPathLine, 10, 272, 560, 20, SS_LEFT | SS_PATHELLIPSIS),
             ctl::kHintLine);
  FillPrinterCombo(shell);
  placeAfter(GetDlgItem(shell.mainWindow, ctl::kPrinterCombo), ctl::kPrinterCaption);
}

void CloseMainWindow(Shell& shell) {
  // The menu bar goes with the window.
  if (shell.mainWindow) DestroyWindow(shell.mainWindow);
  shell.mainWindow = nullptr;
  shell.toolbar = nullptr;
  shell.accelerators.reset();
  shell.labelFont.reset();
  shell.hintFont.reset();
}

std::string ControlText(const Shell& shell, int control) {
  return WindowText(shell.mainWindow ? GetDlgItem(shell.mainWindow, control) : nullptr);
}

void SetControlText(const Shell& shell, int control, const std::string& text) {
  if (HWND h = shell.mainWindow ? GetDlgItem(shell.mainWindow, control) : nullptr)
    SetWindowTextUtf8(h, text);
}

void GatherBookSettings(Shell& shell) {
  BookSettings& b = shell.startup.book;
  RECT r;
  if (shell.mainWindow && GetWindowRect(shell.mainWindow, &r)) {
    b.windowX = r.left;
    b.windowY = r.top;
  }
  if (!shell.mainWindow) return;
  b.senderName = ControlText(shell, ctl::kSenderName);
  b.senderStreet = ControlText(shell, ctl::kSenderStreet);
  b.senderCsz = ControlText(shell, ctl::kSenderCityStateZip);
  b.senderVertical = LeadingDecimal(ControlText(shell, ctl::kSenderVertical));
  b.senderHorizontal = LeadingDecimal(ControlText(shell, ctl::kSenderHorizontal));
  b.addresseeVertical = LeadingDecimal(ControlText(shell, ctl::kAddresseeVertical));
  b.addresseeHorizontal = LeadingDecimal(ControlText(shell, ctl::kAddresseeHorizontal));
  b.defaultPrinter = ControlText(shell, ctl::kPrinterCombo);
}

void FillMainWindow(Shell& shell) {
  const BookSettings& b = shell.startup.book;
  SetControlText(shell, ctl::kSenderName, b.senderName);
  SetControlText(shell, ctl::kSenderStreet, b.senderStreet);
  SetControlText(shell, ctl::kSenderCityStateZip, b.senderCsz);
  SetControlText(shell, ctl::kSenderVertical, std::to_string(b.senderVertical));
  SetControlText(shell, ctl::kSenderHorizontal, std::to_string(b.senderHorizontal));
  SetControlText(shell, ctl::kAddresseeVertical, std::to_string(b.addresseeVertical));
  SetControlText(shell, ctl::kAddresseeHorizontal, std::to_string(b.addresseeHorizontal));
  SetControlText(shell, ctl::kBookPathLine, b.bookFolder + shell.startup.bookFileName);
  ShowEnvelopeChoices(shell);
}

void ShowEnvelopeChoices(const Shell& shell) {
  HMENU menu = shell.mainWindow ? GetMenu(shell.mainWindow) : nullptr;
  if (!menu) return;
  const BookSettings& b = shell.startup.book;
  const bool trueSize = ParsePlacement(b.placement) == Placement::kTrueSize;
  CheckMenuItem(menu, kCmdPlaceAtTrueSize, MF_BYCOMMAND | (trueSize ? MF_CHECKED : MF_UNCHECKED));
  const EnvelopeSize& chosen = FindEnvelopeSize(b.envelope);
  int command = kCmdEnvelopeSizeFirst;
  for (const EnvelopeSize& size : EnvelopeSizes()) {
    if (size == chosen) break;
    ++command;
  }
  CheckMenuRadioItem(menu, kCmdEnvelopeSizeFirst, kCmdEnvelopeSizeLast, command, MF_BYCOMMAND);
  ShowLabelSheetChoice(shell);
}

void SaveBookSettingsFromWindow(Shell& shell) {
  GatherBookSettings(shell);
  const StartupState& s = shell.startup;
  SaveBookSettings(*shell.prefs, s.book.bookFolder + s.companionName, s.bookFileName,
                   shell.startup.book);
}

}  // namespace qr

namespace qr {

int ShowMessage(Shell& shell, const std::string& title, const std::string& text, unsigned flags) {
  return ShowMessageBox(shell.mainWindow, title, text, flags);
}

}  // namespace qr
