// The print preview: the envelope drawn by the printer library into a 684-pixel-wide
// image on the default printer's page, shown in a window with its own loop. Nothing is
// printed, stored or saved.
#include "envelope/preview_window_win.h"

#include <algorithm>
#include <string>

#include "base/wide_text_win.h"
#include "envelope/envelope_print.h"
#include "printlib/image_store_win.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {
namespace {

constexpr char kPreviewClass[] = "QuarranePreviewWindow";
constexpr char kImageAreaClass[] = "QuarranePreviewImage";
constexpr DWORD kPreviewStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 360;
constexpr int kImageAreaId = 1;
constexpr int kNoteId = 2;
// The image area: its inside is exactly 684 x 297 at (5, 5), with the sunken border
// around it, and shows the page image from its top-left corner.
constexpr int kImageAreaX = 5;
constexpr int kImageAreaY = 5;
constexpr int kImageAreaHeight = 297;
constexpr DWORD kImageAreaExStyle = WS_EX_CLIENTEDGE;

// What the image area shows: the page bitmap (the image store owns it) standing at
// `placement` on a white paper of the placement's size.
struct PagePicture {
  HBITMAP bitmap = nullptr;
  PreviewPlacement placement;
};

// The image area's own procedure: paints the paper and the page picture on it (kept with
// the window), and the window colour where both end.
LRESULT CALLBACK ImageAreaProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      int width = 0, height = 0;
      // The page is a DIB section of the image store, which may still have it selected
      // in its own drawing context: its bits are drawn directly.
      DIBSECTION dib = {};
      const auto* picture =
          reinterpret_cast<const PagePicture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      if (picture && GetObjectW(picture->bitmap, sizeof dib, &dib) == sizeof dib &&
          dib.dsBm.bmBits) {
        GdiFlush();
        const int imageWidth = dib.dsBm.bmWidth, imageHeight = dib.dsBm.bmHeight;
        // The image is made for the 684-pixel area; at another DPI it is shown at the
        // area's scale, so that the whole envelope stays in view.
        const int dpi = WindowDpi(hwnd);
        const PreviewPlacement& at = picture->placement;
        const int x = ScaleForDpi(at.x, dpi), y = ScaleForDpi(at.y, dpi);
        const int shownWidth = ScaleForDpi(imageWidth, dpi);
        const int shownHeight = ScaleForDpi(imageHeight, dpi);
        const int paperWidth = ScaleForDpi(at.paperWidth, dpi);
        const int paperHeight = ScaleForDpi(at.paperHeight, dpi);
        const RECT paper = {0, 0, paperWidth, paperHeight};
        FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        width = std::min<int>(std::max(paperWidth, x + shownWidth), client.right);
        height = std::min<int>(std::max(paperHeight, y + shownHeight), client.bottom);
        // The whole image from its top-left corner; the window clips what is beyond.
        const BITMAPINFO info = Image_TopDownRgbInfo(imageWidth, imageHeight);
        if (dpi != kBaseDpi) SetStretchBltMode(dc, HALFTONE);
        StretchDIBits(dc, x, y, shownWidth, shownHeight, 0, 0, imageWidth, imageHeight,
                      dib.dsBm.bmBits, &info, DIB_RGB_COLORS, SRCCOPY);
      }
      HBRUSH background = GetSysColorBrush(COLOR_WINDOW);  // a system brush: never deleted
      const RECT right = {width, 0, client.right, client.bottom};
      const RECT below = {0, height, width, client.bottom};
      FillRect(dc, &right, background);
      FillRect(dc, &below, background);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// Places the image area so that its inside is 684 x 297 at (5, 5), at `dpi`, with the
// border around it.
void PlaceImageArea(HWND area, int dpi) {
  RECT r = {ScaleForDpi(kImageAreaX, dpi), ScaleForDpi(kImageAreaY, dpi),
            ScaleForDpi(kImageAreaX + kPreviewWidth, dpi),
            ScaleForDpi(kImageAreaY + kImageAreaHeight, dpi)};
  AdjustWindowRectEx(&r, WS_CHILD, FALSE, kImageAreaExStyle);
  SetWindowPos(area, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool* done = WindowState<bool>(hwnd, msg, lp);
  if (msg == WM_DPICHANGED) {
    const int dpi = FollowDpiChange(hwnd, wp, lp);
    PlaceImageArea(GetDlgItem(hwnd, kImageAreaId), dpi);
    return 0;
  }
  if (msg == WM_CLOSE) {
    if (done) *done = true;
    DestroyWindow(hwnd);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Makes the window (still hidden) with a client area of 700 x 360.
HWND OpenPreviewWindow(HINSTANCE instance, int mainX, int mainY, bool* done) {
  if (!RegisterFormWindowClass(instance, kPreviewClass, PreviewWindowProc) ||
      !RegisterFormWindowClass(instance, kImageAreaClass, ImageAreaProc)) {
    return nullptr;
  }
  const SIZE size = OuterSizeForClient(kClientWidth, kClientHeight, kPreviewStyle);
  // Near the screen's top-left corner the window is kept on the screen.
  const int x = std::max(0, mainX + kPreviewWindowDx);
  const int y = std::max(0, mainY + kPreviewWindowDy);
  HWND window =
      CreateWindowExW(0, Wide(kPreviewClass).c_str(), Wide(kPreviewTitle).c_str(), kPreviewStyle, x,
                      y, size.cx, size.cy, nullptr, nullptr, instance, done);
  if (!window) return nullptr;
  // The border goes around the 684 x 297 inside, not into it.
  RECT area = {kImageAreaX, kImageAreaY, kImageAreaX + kPreviewWidth,
               kImageAreaY + kImageAreaHeight};
  AdjustWindowRectEx(&area, WS_CHILD, FALSE, kImageAreaExStyle);
  HWND image = AddChild(window, kImageAreaClass, "", 0, kImageAreaId, area.left, area.top,
                        area.right - area.left, area.bottom - area.top, kImageAreaExStyle);
  if (const int dpi = WindowDpi(window); image && dpi != kBaseDpi) PlaceImageArea(image, dpi);
  const std::string note(kPreviewNote);
  AddFormChild(window, "STATIC", note.c_str(), SS_LEFT, kNoteId, 10, 340, 590, 20);
  return window;
}

}  // namespace

void RunPreviewWindow(HINSTANCE instance, int mainX, int mainY,
                      const std::function<int(PreviewPlacement&)>& drawPage) {
  bool done = false;
  PagePicture picture;  // outlives the window, which points to it
  ScopedWindow window(OpenPreviewWindow(instance, mainX, mainY, &done));
  if (!window) return;

  const int page = drawPage(picture.placement);
  // The page image stays the printer library's; the box only shows it.
  if ((picture.bitmap = page != 0 ? Image_Bitmap(page) : nullptr)) {
    SetWindowLongPtrW(GetDlgItem(window.get(), kImageAreaId), GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(&picture));
  }
  // Shown only once the page is drawn, so that it never shows a half-made picture.
  ShowWindow(window.get(), SW_SHOW);
  UpdateWindow(window.get());
  RunModalLoop(window.get(), done);
}

}  // namespace qr
