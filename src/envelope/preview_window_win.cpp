// The print preview: the envelope drawn by the printer library into a 684-pixel-wide
// image on the default printer's page, shown in a window with its own loop. Nothing is
// printed, stored or saved.
#include "envelope/preview_window_win.h"

#include <algorithm>
#include <string>

#include "envelope/envelope_print.h"
#include "printlib/image_store_win.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {
namespace {

constexpr char kPreviewClass[] = "QuarranePreviewWindow";
constexpr DWORD kPreviewStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 360;
constexpr int kImageAreaId = 1;
constexpr int kNoteId = 2;

LRESULT CALLBACK PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool* done = WindowState<bool>(hwnd, msg, lp);
  if (msg == WM_CLOSE) {
    if (done) *done = true;
    DestroyWindow(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Makes the window (still hidden) with a client area of 700 x 360.
HWND OpenPreviewWindow(HINSTANCE instance, int mainX, int mainY, bool* done) {
  if (!RegisterFormWindowClass(instance, kPreviewClass, PreviewWindowProc)) return nullptr;
  const SIZE size = OuterSizeForClient(kClientWidth, kClientHeight, kPreviewStyle);
  // Near the screen's top-left corner the window is kept on the screen.
  const int x = std::max(0, mainX + kPreviewWindowDx);
  const int y = std::max(0, mainY + kPreviewWindowDy);
  const std::string title(kPreviewTitle);
  HWND window = CreateWindowExA(0, kPreviewClass, title.c_str(), kPreviewStyle, x, y, size.cx,
                                size.cy, nullptr, nullptr, instance, done);
  if (!window) return nullptr;
  // The bitmap is centred in the sunken box, so that its pixels start at (5, 5) of the
  // client area as the border takes room on every side.
  AddChild(window, "STATIC", "", SS_BITMAP | SS_CENTERIMAGE, kImageAreaId, 5, 5, kPreviewWidth, 297,
           WS_EX_CLIENTEDGE);
  const std::string note(kPreviewNote);
  AddFormChild(window, "STATIC", note.c_str(), SS_LEFT, kNoteId, 10, 340, 590, 20);
  return window;
}

}  // namespace

void RunPreviewWindow(HINSTANCE instance, int mainX, int mainY,
                      const std::function<int()>& drawPage) {
  bool done = false;
  ScopedWindow window(OpenPreviewWindow(instance, mainX, mainY, &done));
  if (!window) return;

  const int page = drawPage();
  // The page image stays the printer library's; the box only shows it.
  if (HBITMAP bitmap = page != 0 ? Image_Bitmap(page) : nullptr) {
    SendMessageA(GetDlgItem(window.get(), kImageAreaId), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(bitmap));
  }
  // Shown only once the page is drawn, so that it never shows a half-made picture.
  ShowWindow(window.get(), SW_SHOW);
  UpdateWindow(window.get());
  RunModalLoop(window.get(), done);
}

}  // namespace qr
