// The About window: credits, version, the keys, README and the web site. It runs its
// own loop; the main window does nothing until "Done" closes it.
#include <string>
#include <tuple>

#include "app/commands/commands_win.h"
#include "base/wide_text_win.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

constexpr char kAboutClass[] = "QuarraneAboutWindow";
constexpr char kMakerAddress[] = "https://www.quarrane.com";
constexpr int kReadmeButton = 101;
constexpr int kDoneButton = 102;
constexpr int kLinkId = 103;

struct AboutState {
  bool done = false;
  ScopedFont bold, regular, small, link;
};

HFONT AboutFont(HWND hwnd, int points, int weight) {
  return FontFromPoints(hwnd, "Times New Roman", points, weight);
}

// Makes the window's four fonts at its DPI. On a change of DPI each label takes the new
// font of the kind it had, and the old ones go.
void MakeAboutFonts(HWND about, AboutState& state) {
  const struct {
    ScopedFont* font;
    int points, weight;
  } kinds[] = {{&state.bold, 11, FW_BOLD},
               {&state.regular, 11, FW_NORMAL},
               {&state.small, 8, FW_NORMAL},
               {&state.link, 11, FW_BOLD}};
  for (const auto& kind : kinds) {
    HFONT made = AboutFont(about, kind.points, kind.weight);
    if (HFONT old = kind.font->get()) {
      for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)) == old)
          SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
      }
    }
    kind.font->reset(made);
  }
}

// Starts `commandLine` in the current folder without waiting; failures are not reported.
void StartProgram(const std::string& commandLine) {
  std::wstring command = Wide(commandLine);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

LRESULT CALLBACK AboutProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = WindowState<AboutState>(hwnd, msg, lp);
  switch (msg) {
    case WM_COMMAND:
      if (!state) break;
      switch (LOWORD(wp)) {
        case kDoneButton:
          state->done = true;
          return 0;
        case kReadmeButton:
          StartProgram("notepad.exe README.txt");
          return 0;
        case kLinkId:
          if (HIWORD(wp) == STN_CLICKED) StartProgram(std::string("iexplore.exe ") + kMakerAddress);
          return 0;
        default:
          break;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kLinkId) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 255));
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(wp)) == kLinkId) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      FollowDpiChange(hwnd, wp, lp);
      if (state) MakeAboutFonts(hwnd, *state);
      return 0;
    case WM_CLOSE:
      return 0;  // no close box: only "Done" closes the window
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Label(HWND parent, const std::string& text, int id, int x, int y, int w, DWORD align,
           HFONT font) {
  if (!font) return AddFormChild(parent, "STATIC", text.c_str(), align, id, x, y, w, 20);
  return AddChild(parent, "STATIC", text.c_str(), align, id, x, y, w, 20, 0, font);
}

}  // namespace

void RunAboutWindow(Shell& shell) {
  if (!RegisterFormWindowClass(shell.instance, kAboutClass, AboutProc)) return;

  // 300 x 400 inside, a title bar without close box, centred on the main window.
  constexpr DWORD style = WS_POPUP | WS_CAPTION;
  const SIZE size = OuterSizeForClient(300, 400, style);
  POINT at = CentreOver(shell.mainWindow, size);
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;

  AboutState state;
  ScopedWindow window(CreateWindowExW(0, Wide(kAboutClass).c_str(), L"About", style, at.x, at.y,
                                      size.cx, size.cy, shell.mainWindow, nullptr, shell.instance,
                                      &state));
  if (!window) return;
  HWND about = window.get();

  MakeAboutFonts(about, state);

  const struct {
    int y;
    std::string text;
    HFONT font;
  } lines[] = {
      {10, "Written by", state.bold.get()},
      {30, "The Quarrane team", state.regular.get()},
      {60, "Version", state.bold.get()},
      {80, shell.startup.version, state.regular.get()},
      {100, "Copyright", state.bold.get()},
      {120, "(C) 2026 Quarrane", state.regular.get()},
      {140, "Quarrane Software", state.small.get()},
  };
  for (const auto& l : lines) Label(about, l.text, -1, 1, l.y, 299, SS_CENTER, l.font);
  Label(about, "www.quarrane.com", kLinkId, 80, 160, 200, SS_LEFT | SS_NOTIFY, state.link.get());
  const char* keys[] = {"F1 = About/Help (this window)", "F2 = Blue Hints On/Off",
                        "F3 = Search/Look-up Window",    "F4 = Save current Addressee Info",
                        "F6 = Print current entry",      "F8 = Delete current Record"};
  for (int i = 0; i < 6; ++i)
    Label(about, keys[i], -1, 80, 200 + 20 * i, 299, SS_LEFT, state.regular.get());
  Label(about, "      (must use search first)", -1, 85, 319, 299, SS_LEFT, state.regular.get());
  for (const auto& b : {std::tuple{"README/License", kReadmeButton, 50, 110},
                        std::tuple{"Done", kDoneButton, 200, 60}}) {
    AddFormChild(about, "BUTTON", std::get<0>(b), WS_TABSTOP | BS_PUSHBUTTON, std::get<1>(b),
                 std::get<2>(b), 360, std::get<3>(b), 30);
  }
  ShowWindow(about, SW_SHOWNORMAL);
  SetFocus(GetDlgItem(about, kDoneButton));

  RunModalLoop(about, state.done);
  window.reset();
  SetActiveWindow(shell.mainWindow);
}

}  // namespace qr
