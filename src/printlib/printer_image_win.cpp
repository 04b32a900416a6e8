// Printer_Lib: capability queries, image output with the transfer method the device's raster
// capabilities allow, and the off-screen preview page.
#include <memory>
#include <new>

#include "printlib/image_store_win.h"
#include "printlib/print_math.h"
#include "printlib/printer_lib_win.h"
#include "printlib/printer_state_win.h"

using qr::print::State;

namespace {

// A memory context compatible with the screen; deleted on scope exit with its original
// bitmap selected back.
class MemoryContext {
 public:
  MemoryContext() : dc_(CreateCompatibleDC(nullptr)) {}
  MemoryContext(const MemoryContext&) = delete;
  MemoryContext& operator=(const MemoryContext&) = delete;
  ~MemoryContext() {
    if (previous_) SelectObject(dc_, previous_);
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }
  bool Select(HBITMAP bitmap) {
    HGDIOBJ previous = SelectObject(dc_, bitmap);
    if (!previous || previous == HGDI_ERROR) return false;
    previous_ = previous;
    return true;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Frees an image of the store on scope exit.
struct ImageHolder {
  int number;
  ~ImageHolder() { Image_Free(number); }
};

int StretchBitmap(HDC target, int image, int dx, int dy, int dw, int dh, DWORD rop) {
  MemoryContext memory;
  if (!memory.get() || !memory.Select(Image_Bitmap(image))) return 0;
  return StretchBlt(target, dx, dy, dw, dh, memory.get(), 0, 0, Image_Width(image),
                    Image_Height(image), rop);
}

int StretchPixels(HDC target, int image, int dx, int dy, int dw, int dh, DWORD rop) {
  const int iw = Image_Width(image);
  const int ih = Image_Height(image);
  // 24-bit rows padded to 4 bytes never need more than 4 bytes a pixel.
  std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[static_cast<std::size_t>(iw) * ih * 4]);
  if (!pixels) return 0;
  BITMAPINFO info = Image_TopDownRgbInfo(iw, ih);
  HDC imageDc = Image_StartDrawing(image);
  if (!imageDc) return 0;
  const int lines = GetDIBits(imageDc, Image_Bitmap(image), 0, static_cast<UINT>(ih), pixels.get(),
                              &info, DIB_RGB_COLORS);
  Image_StopDrawing(image);
  if (lines == 0) return 0;
  return StretchDIBits(target, dx, dy, dw, dh, 0, 0, iw, ih, pixels.get(), &info, DIB_RGB_COLORS,
                       rop);
}

int CopyResized(HDC target, int image, int dx, int dy, int dw, int dh, DWORD rop) {
  const ImageHolder copy{Image_Copy(image)};
  if (!copy.number || !Image_Resize(copy.number, dw, dh)) return 0;
  MemoryContext memory;
  if (!memory.get() || !memory.Select(Image_Bitmap(copy.number))) return 0;
  return BitBlt(target, dx, dy, Image_Width(copy.number), Image_Height(copy.number), memory.get(),
                0, 0, rop);
}

}  // namespace

int Print_GetDeviceCaps(int index) {
  qr::print::PrinterState& s = State();
  if (!s.previewActive) return GetDeviceCaps(s.currentDc, index);
  HDC printer = s.printerDc.get();
  const bool hasImage = !s.previewPages.empty() && Image_IsValid(s.previewPages.front());
  switch (index) {
    case HORZRES:
      return hasImage ? s.previewWidth : 0;
    case VERTRES:
      return hasImage ? s.previewHeight : 0;
    case LOGPIXELSX:
      return hasImage ? qr::print::PreviewDpi(s.previewWidth, GetDeviceCaps(printer, HORZSIZE)) : 0;
    case LOGPIXELSY:
      return hasImage ? qr::print::PreviewDpi(s.previewHeight, GetDeviceCaps(printer, VERTSIZE))
                      : 0;
    default:
      return GetDeviceCaps(printer, index);
  }
}

int Print_Image(int image, float x, float y, float width, float height) {
  return Print_ImageWithRasterOp(image, x, y, width, height, SRCCOPY);
}

int Print_ImageWithRasterOp(int image, float x, float y, float width, float height, DWORD rop) {
  if (!Image_IsValid(image)) return 0;
  if (width == 0.0f) width = Print_DeviceToUnitX(Image_Width(image));
  if (height == 0.0f) height = Print_DeviceToUnitY(Image_Height(image));
  if (rop == 0) rop = SRCCOPY;
  const int dx = Print_UnitToDeviceX(x);
  const int dy = Print_UnitToDeviceY(y);
  const int dw = Print_UnitToDeviceX(width);
  const int dh = Print_UnitToDeviceY(height);
  HDC target = State().currentDc;
  const int caps = State().rasterCapsOverride >= 0 ? State().rasterCapsOverride
                                                   : GetDeviceCaps(target, RASTERCAPS);
  switch (qr::print::ChooseImageMethod(caps)) {
    case qr::print::ImageMethod::kStretchBlt:
      return StretchBitmap(target, image, dx, dy, dw, dh, rop);
    case qr::print::ImageMethod::kStretchDib:
      return StretchPixels(target, image, dx, dy, dw, dh, rop);
    case qr::print::ImageMethod::kResizedCopy:
      return CopyResized(target, image, dx, dy, dw, dh, rop);
    case qr::print::ImageMethod::kNone:
      break;
  }
  return 0;
}

HDC Print_StartPreview(int width) {
  qr::print::PrinterState& s = State();
  if (s.previewActive) Print_StopPreview();  // a second start replaces the first preview
  HDC printer = s.printerDc.get();
  qr::print::FreePreviewPages();
  const int horz = GetDeviceCaps(printer, HORZRES);
  const int vert = GetDeviceCaps(printer, VERTRES);
  const int lpx = GetDeviceCaps(printer, LOGPIXELSX);
  const int lpy = GetDeviceCaps(printer, LOGPIXELSY);
  HDC imageDc = nullptr;
  if (horz && vert && lpx && lpy) {
    s.previewWidth = width;
    s.previewHeight = qr::print::PreviewHeight(width, horz, vert, lpx, lpy);
    const int image = Image_Create(s.previewWidth, s.previewHeight);
    if (image) {
      s.previewPages.push_back(image);
      imageDc = Image_StartDrawing(image);
    }
  }
  if (!imageDc) {
    qr::print::FreePreviewPages();
    s.currentDc = printer;
    s.previewActive = false;
    return nullptr;
  }
  s.currentDc = imageDc;
  {
    // The page starts white. FillRect needs no selection of the brush.
    qr::ScopedBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    RECT page{0, 0, s.previewWidth, s.previewHeight};
    if (white) FillRect(imageDc, &page, white.get());
  }
  s.previewActive = true;
  Print_ResetState();
  return imageDc;
}

HDC Print_StopPreview() {
  qr::print::PrinterState& s = State();
  if (!s.previewActive) return nullptr;
  s.previewActive = false;
  if (!s.previewPages.empty()) Image_StopDrawing(s.previewPages.front());
  s.currentDc = s.printerDc.get();
  return s.currentDc;
}

int Print_GetPreviewImage(int page) {
  const auto& pages = State().previewPages;
  if (page < 0 || static_cast<std::size_t>(page) >= pages.size()) return 0;
  return pages[static_cast<std::size_t>(page)];
}
