// The print preview: the envelope drawn by the printer library into a 684-pixel-wide
// image on the default printer's page, shown in a window with its own loop. Nothing is
// printed, stored or saved.
#include <windows.h>

#include <algorithm>

#include "app/event_loop_win.h"
#include "app/shell_commands_win.h"
#include "app/window_class_win.h"
#include "envelope/envelope_inputs_win.h"
#include "envelope/envelope_print.h"
#include "envelope/printer_api_win.h"
#include "printlib/image_store.h"

namespace qr {
namespace {

constexpr char kPreviewClass[] = "QuarranePreviewWindow";
constexpr DWORD kPreviewStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 360;
constexpr int kImageAreaId = 1;
constexpr int kNoteId = 2;

LRESULT CALLBACK PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
      break;
    }
    case WM_CLOSE:
      if (auto* done = reinterpret_cast<bool*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
        *done = true;
      DestroyWindow(hwnd);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterPreviewClass(HINSTANCE instance) {
  return RegisterFormWindowClass(instance, kPreviewClass, PreviewWindowProc);
}

// Destroys the window when the preview ends by any path.
class ScopedWindow {
 public:
  explicit ScopedWindow(HWND hwnd) : hwnd_(hwnd) {}
  ~ScopedWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  ScopedWindow(const ScopedWindow&) = delete;
  ScopedWindow& operator=(const ScopedWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Makes the window (still hidden) at the recorded main window position moved 25 left and 10 up,
// with a client area of 700 x 360. Not owned by the main window.
HWND OpenPreviewWindow(Shell& shell, bool* done) {
  if (!RegisterPreviewClass(shell.instance)) return nullptr;
  RECT outer = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&outer, kPreviewStyle, FALSE);
  // Near the screen's top-left corner the window is kept on the screen.
  const int x = std::max(0, shell.startup.book.windowX + kPreviewWindowDx);
  const int y = std::max(0, shell.startup.book.windowY + kPreviewWindowDy);
  const std::string title(kPreviewTitle);
  HWND window = CreateWindowExA(0, kPreviewClass, title.c_str(), kPreviewStyle, x, y,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, shell.instance, done);
  if (!window) return nullptr;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  // The bitmap is centred in the sunken box, so that its pixels start at (5, 5) of the
  // client area as the border takes room on every side.
  HWND image = CreateWindowExA(
      WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE, 5, 5,
      kPreviewWidth, 297, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kImageAreaId)),
      shell.instance, nullptr);
  const std::string note(kPreviewNote);
  HWND text = CreateWindowExA(
      0, "STATIC", note.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 340, 590, 20, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoteId)), shell.instance, nullptr);
  if (text) SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  (void)image;
  return window;
}

}  // namespace

void PrintPreviewCommand(Shell& shell) {
  // Empty font values get their defaults in memory only; nothing is saved here.
  ApplyStoredFontDefaults(shell);
  const EnvelopeInputs inputs = GatherEnvelopeInputs(shell);

  bool done = false;
  ScopedWindow window(OpenPreviewWindow(shell, &done));
  if (!window.get()) return;

  PrinterLibApi api;
  const int page = DrawPreview(api, inputs);
  // The page image stays the printer library's; the box only shows it.
  if (HBITMAP bitmap = page != 0 ? Image_Bitmap(page) : nullptr) {
    SendMessageA(GetDlgItem(window.get(), kImageAreaId), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(bitmap));
  }
  // Shown only once the page is drawn, so that it never shows a half-made picture.
  ShowWindow(window.get(), SW_SHOW);
  UpdateWindow(window.get());

  RunModalLoop(shell, window.get(), done);
  if (shell.mainWindow) SetForegroundWindow(shell.mainWindow);
}

}  // namespace qr
