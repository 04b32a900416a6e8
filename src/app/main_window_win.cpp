#include "app/main_window_win.h"

#include "app/commands.h"
#include "app/event_loop_win.h"
#include "app/settings.h"

namespace qr {

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kDefaultX = 250;
constexpr int kDefaultY = 200;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
      break;
    }
    case WM_COMMAND:
      if (shell) {
        HandleEvent(*shell, Event::FromCommand(wp, lp));
        return 0;
      }
      break;
    case WM_CLOSE:
      // The close box is a quit event; the window stays until shutdown has saved.
      if (shell) {
        HandleEvent(*shell, Event::CloseBox(hwnd));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool BuildMainWindow(Shell& shell, const std::string& title, int x, int y) {
  if (!RegisterMainWindowClass(shell.instance)) return false;
  RECT r = {0, 0, kMainClientWidth, kMainClientHeight};
  AdjustWindowRectEx(&r, kMainStyle, FALSE, 0);
  shell.mainWindow = CreateWindowExA(0, kMainWindowClass, title.c_str(), kMainStyle,
                                     x <= 0 ? kDefaultX : x, y <= 0 ? kDefaultY : y,
                                     r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                     shell.instance, &shell);
  if (!shell.mainWindow) return false;

  ACCEL keys[] = {{FVIRTKEY, VK_ESCAPE, kCmdEscape}};
  shell.accelerators.reset(CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys))));

  ShowWindow(shell.mainWindow, SW_SHOWNORMAL);
  UpdateWindow(shell.mainWindow);
  return true;
}

void GatherBookSettings(Shell& shell) {
  RECT r;
  if (shell.mainWindow && GetWindowRect(shell.mainWindow, &r)) {
    shell.startup.book.windowX = r.left;
    shell.startup.book.windowY = r.top;
  }
}

void SaveBookSettingsFromWindow(Shell& shell) {
  GatherBookSettings(shell);
  const StartupState& s = shell.startup;
  SaveBookSettings(*shell.prefs, s.book.bookFolder + s.companionName, s.bookFileName,
                   shell.startup.book);
}

}  // namespace qr
