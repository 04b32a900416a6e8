// The About window: credits, version, the keys, README and the web site. It runs its
// own loop; the main window does nothing until "Done" closes it.
#include <string>
#include <tuple>

#include "app/event_loop_win.h"
#include "app/shell_commands_win.h"
#include "app/window_class_win.h"

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

// Starts `commandLine` in the current folder without waiting; failures are not reported.
void StartProgram(std::string commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

LRESULT CALLBACK AboutProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(
          hwnd, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
      break;
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
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_CLOSE:
      return 0;  // no close box: only "Done" closes the window
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HFONT AboutFont(HWND hwnd, int points, int weight) {
  ScopedWindowDC dc(hwnd);
  return CreateFontA(-MulDiv(points, GetDeviceCaps(dc.get(), LOGPIXELSY), 72), 0, 0, 0, weight,
                     FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Times New Roman");
}

HWND Label(HWND parent, HINSTANCE inst, const std::string& text, int id, int x, int y, int w,
           DWORD align, HFONT font) {
  HWND h =
      CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | align, x, y, w, 20, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

}  // namespace

void RunAboutWindow(Shell& shell) {
  if (!RegisterFormWindowClass(shell.instance, kAboutClass, AboutProc)) return;

  // 300 x 400 inside, a title bar without close box, centred on the main window.
  constexpr DWORD style = WS_POPUP | WS_CAPTION;
  RECT r = {0, 0, 300, 400};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT main = {};
  GetWindowRect(shell.mainWindow, &main);
  int x = main.left + ((main.right - main.left) - w) / 2;
  int y = main.top + ((main.bottom - main.top) - h) / 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;

  AboutState state;
  HWND about = CreateWindowExA(0, kAboutClass, "About", style, x, y, w, h, shell.mainWindow,
                               nullptr, shell.instance, &state);
  if (!about) return;

  state.bold.reset(AboutFont(about, 11, FW_BOLD));
  state.regular.reset(AboutFont(about, 11, FW_NORMAL));
  state.small.reset(AboutFont(about, 8, FW_NORMAL));
  state.link.reset(AboutFont(about, 11, FW_BOLD));

  HINSTANCE inst = shell.instance;
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
  for (const auto& l : lines) Label(about, inst, l.text, -1, 1, l.y, 299, SS_CENTER, l.font);
  Label(about, inst, "www.quarrane.com", kLinkId, 80, 160, 200, SS_LEFT | SS_NOTIFY,
        state.link.get());
  const char* keys[] = {"F1 = About/Help (this window)", "F2 = Blue Hints On/Off",
                        "F3 = Search/Look-up Window",    "F4 = Save current Addressee Info",
                        "F6 = Print current entry",      "F8 = Delete current Record"};
  for (int i = 0; i < 6; ++i)
    Label(about, inst, keys[i], -1, 80, 200 + 20 * i, 299, SS_LEFT, state.regular.get());
  Label(about, inst, "      (must use search first)", -1, 85, 319, 299, SS_LEFT,
        state.regular.get());
  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& b : {std::tuple{"README/License", kReadmeButton, 50, 110},
                        std::tuple{"Done", kDoneButton, 200, 60}}) {
    HWND btn = CreateWindowExA(
        0, "BUTTON", std::get<0>(b), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        std::get<2>(b), 360, std::get<3>(b), 30, about,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(std::get<1>(b))), inst, nullptr);
    SendMessageA(btn, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
  }
  ShowWindow(about, SW_SHOWNORMAL);
  SetFocus(GetDlgItem(about, kDoneButton));

  RunModalLoop(shell, about, state.done);
  DestroyWindow(about);
  SetActiveWindow(shell.mainWindow);
}

}  // namespace qr
